// The application object: start-up (shell controls, the Up-key abort, the registry key, the
// hidden main frame with the command-line interval) and the About command.
#pragma once

#include "framework/win_app.h"
#include "settings/settings_store.h"

class CMainFrame;

class CSwitcherApp : public CWinApp {
  public:
    CSwitcherApp() : CWinApp(nullptr) {}
    ~CSwitcherApp() override = default;

    BOOL InitInstance() override;
    void OnAppAbout();

    // Profile operations, kept by the settings store.
    // The profile name is the application's name, cut from the module path at start-up.
    void SetRegistryKey(LPCWSTR keyWord) { Store.SetRegistryKey(keyWord, m_appName); }
    int GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) {
        return Store.GetProfileInt(section, entry, defaultValue);
    }
    WString GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue) {
        return Store.GetProfileString(section, entry, defaultValue);
    }
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) {
        return Store.WriteProfileInt(section, entry, value);
    }
    BOOL WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
        return Store.WriteProfileString(section, entry, value);
    }

    CMainFrame* MainFrame() const;

    CSettingsStore Store;

    DECLARE_MESSAGE_MAP()
};
