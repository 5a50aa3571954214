// The program's one frame window and the owner of all run-time state: settings copies, the six
// rule lists, the engine's memory, the open settings dialog and the notification icon record.
#pragma once

#include "framework/frame_wnd.h"
#include "platform/platform.h"
#include "settings/rule_list.h"

class CSettingsStore;
class CDecisionObserver;
class CSettingsDlg;
class CChildView;
class CCeCommandBar;

// The WLAN adapter as the power manager names it.
inline constexpr const WCHAR* WlanDeviceName =
    TEXT("{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1");

class CMainFrame : public CFrameWnd {
public:
    // `store` serves every profile read and write of the frame; it outlives the frame.
    explicit CMainFrame(CSettingsStore& store);
    ~CMainFrame() override;

    // Window part (app/main_frame.cpp).
    BOOL OnCmdMsg(UINT id, int code) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSetFocus(HWND oldFocus);
    // The notification icon's callback: a left-button press on icon 1 opens the popup menu.
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    // The Settings command (ui/).
    void OnSettings();

    // Settings and rule lists (settings/load_settings.cpp).
    void LoadSettings();

    // The monitor tick, run by every WM_TIMER on the frame (engine/monitor_tick.cpp).
    void MonitorTick(UINT_PTR timerId);
    // The base frame's handling of the timer message that ends every tick (the default window
    // procedure of the WM_TIMER being dispatched; nothing when the tick runs outside one).
    void DefaultTimerProcessing() { CFrameWnd::OnTimer(0); }

    // Radio control (radio/bluetooth.cpp, radio/wifi.cpp).
    void TurnBluetoothOn(int force);
    void TurnBluetoothOff(int force);
    int IsBluetoothOn();
    void TurnWifiOn(int force);
    void TurnWifiOff(int force);
    int IsWifiOn();
    void WlanWakeSequence();

    // Reports each tick's decisions; changes nothing. May be null.
    void SetDecisionObserver(CDecisionObserver* observer) { Observer = observer; }

    CSettingsStore& Store;
    CDecisionObserver* Observer = nullptr;

    // Members in declaration order.
    int Busy = 0;
    LONG DefaultAction = 0;
    LONG WFDefaultAction = 0;
    int OffTakesPrecedence = 0;
    LONG BTControl = 0; // set by LoadSettings before first use
    WString ConsoleCaption = TEXT("Bluetooth Console");
    LONG ConsoleOnCommand = 4098;
    LONG ConsoleOffCommand = 4097;
    LONG CheckInterval = 1500;
    RuleList BtOnActiveList;
    RuleList BtOnRunningList;
    RuleList BtOffList;
    RuleList WifiOnActiveList;
    RuleList WifiOnRunningList;
    RuleList WifiOffList;
    LONG DefControl = 0; // set by LoadSettings before first use
    WString LastCaption;
    LONG BtState = -1;
    LONG WifiState = -1;
    int KeepPDAOn = 0;
    LONG KeepAliveCounter = 0;
    CSettingsDlg* SettingsDlg = nullptr;
    CCeCommandBar* CommandBar = nullptr;
    CChildView* View = nullptr;
    NOTIFYICONDATA IconData = {};
    int MenuOpen = 0;

    // The tick reads the foreground caption into this buffer, which keeps its capacity, so a
    // steady tick allocates nothing.
    WString CaptionBuffer;

    DECLARE_MESSAGE_MAP()
};

// The notification icon: identifier and callback message.
inline constexpr UINT TrayIconId = 1;
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 2;
