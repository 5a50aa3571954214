// The application that runs now. Kept apart from the rest of CWinApp so that code which only
// asks for the running application (names, instance) links without the message loop.
#include "framework/win_app.h"

namespace {
CWinApp* g_runningApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_runningApp;
}

CWinApp* AfxSetRunningApp(CWinApp* app) {
    CWinApp* previous = g_runningApp;
    g_runningApp = app;
    return previous;
}
