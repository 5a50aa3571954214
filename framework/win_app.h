// The application object: start-up, the message loop and the application's own commands.
// It is created by the program's entry function and run by AfxWinMain; AfxGetApp() returns it
// only while it runs, so every test starts without one.
#pragma once

#include "framework/cmd_target.h"
#include "platform/text.h"

class CWnd;

// Framework command ids (macros, as the resource scripts that share them need).
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665

class CWinApp : public CCmdTarget {
  public:
    // With no name, the application is named after its executable file (AfxWinMain sets it).
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override = default;

    // Called once before the message loop: TRUE to run, FALSE to end at once.
    virtual BOOL InitInstance() { return TRUE; }
    // The message loop: GetMessageW and DispatchMessageW until WM_QUIT.
    virtual int Run();
    // Called when the loop ends (or when InitInstance fails); its result is the exit code.
    virtual int ExitInstance();

    // Exit: closes the main window, which ends the program.
    void OnAppExit();

    HINSTANCE m_hInstance = nullptr;
    WString m_cmdLine;
    LPCWSTR m_lpCmdLine = TEXT("");
    WString m_appName;
    LPCWSTR m_pszAppName = TEXT("");
    CWnd* m_pMainWnd = nullptr;
    int m_exitCode = 0;

    DECLARE_MESSAGE_MAP()
};

// The application running now, or null.
CWinApp* AfxGetApp();
// Makes `app` the running application (null: none); returns the one before.
CWinApp* AfxSetRunningApp(CWinApp* app);

// Runs `app` as the program: names it, applies the one-instance rule, InitInstance, the
// message loop, and the clean-up of a main window that outlived the loop.
int AfxWinMain(CWinApp& app, HINSTANCE instance, LPCWSTR commandLine);
