#include "app/main_frame.h"

CMainFrame::CMainFrame(CSettingsStore& store) : Store(store) {}

CMainFrame::~CMainFrame() = default;
