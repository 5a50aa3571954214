#include "framework/win_app.h"

#include "framework/app_name.h"
#include "framework/single_instance.h"
#include "framework/wnd.h"

namespace {

// Sets AfxGetApp() for the run and clears it however the run ends.
class RunningApp {
  public:
    explicit RunningApp(CWinApp& app) : previous_(AfxSetRunningApp(&app)) {}
    ~RunningApp() { AfxSetRunningApp(previous_); }
    RunningApp(const RunningApp&) = delete;
    RunningApp& operator=(const RunningApp&) = delete;

  private:
    CWinApp* previous_;
};
} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    on::Command<&CWinApp::OnAppExit>(ID_APP_EXIT),
END_MESSAGE_MAP();
// clang-format on

CWinApp::CWinApp(LPCWSTR appName) {
    if (appName != nullptr) {
        m_appName = appName;
        m_pszAppName = m_appName.c_str();
    }
}

int CWinApp::Run() {
    MSG msg = {};
    for (;;) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got < 0) // no message can come any more
            break;
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return m_exitCode;
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

int AfxWinMain(CWinApp& app, HINSTANCE instance, LPCWSTR commandLine) {
    RunningApp running(app);
    app.m_hInstance = instance != nullptr ? instance : ::GetModuleHandleW(nullptr);
    app.m_cmdLine = commandLine != nullptr ? commandLine : TEXT("");
    app.m_lpCmdLine = app.m_cmdLine.c_str();
    if (app.m_appName.empty()) {
        app.m_appName = ModuleBaseName(AfxModuleFileName());
        app.m_pszAppName = app.m_appName.c_str();
    }

    SingleInstance instanceRule;
    if (instanceRule.Other() != nullptr) {
        instanceRule.ActivateOther();
        return 0;
    }

    int result = 0;
    if (app.InitInstance())
        result = app.Run();
    else
        result = app.ExitInstance();

    // A main window still there (start-up failed after creating it, or the loop ended by a
    // WM_QUIT from outside) is destroyed now, so its destructor's clean-up runs.
    if (CWnd* main = app.m_pMainWnd; main != nullptr) {
        app.m_pMainWnd = nullptr;
        main->DestroyWindow();
    }
    return result;
}
