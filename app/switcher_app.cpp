#include "app/switcher_app.h"

#include "app/about_dlg.h"
#include "app/child_view.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "framework/ce_command_bar.h"
#include "res/resource_ids.h"
#include "settings/settings_values.h"

namespace {
constexpr DWORD kCancelWindow = 500; // ms the user has to hold the Up key
} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CSwitcherApp, CWinApp)
    on::Command<&CSwitcherApp::OnAppAbout>(ID_APP_ABOUT),
END_MESSAGE_MAP();
// clang-format on

CMainFrame* CSwitcherApp::MainFrame() const {
    return dynamic_cast<CMainFrame*>(m_pMainWnd);
}

BOOL CSwitcherApp::InitInstance() {
    ::SHInitExtraControls();
    ::Sleep(kCancelWindow);
    if ((::GetAsyncKeyState(VK_UP) & 0x8000) != 0)
        return FALSE;

    SetRegistryKey(RegistryKeyWord);

    auto* frame = new CMainFrame(Store);
    m_pMainWnd = frame;
    LONG interval = 0;
    if (CommandLineInterval(m_lpCmdLine, interval))
        frame->CheckInterval = interval;

    if (!frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE, nullptr)) {
        // A frame whose window could not be made has deleted itself: end start-up here
        // rather than hide windows that are not there.
        m_pMainWnd = nullptr;
        return FALSE;
    }

    frame->CommandBar->ShowWindow(SW_HIDE);
    frame->View->ShowWindow(SW_HIDE);
    frame->ShowWindow(SW_HIDE);
    frame->UpdateWindow();
    return TRUE;
}

void CSwitcherApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
