// Find-window mode driven through the buttons and Application Button 1: hiding, capturing,
// the Window Found dialog's choices, re-entry, and nothing left behind when the dialog closes.
#include <gtest/gtest.h>

#include "tests/device/app/kipo_run.h"
#include "ui/settings_dlg.h"

namespace {

class FindWindowTest : public KipoRunTest {
  protected:
    // Settings at 1000, "Find Window!" and the instruction box's OK: the mode waits at 1000.
    void StartFindMode() {
        ChooseFromIcon(1000, TEXT("Settings"));
        At(1000, [this] { EXPECT_TRUE(device.ClickButton(IDC_FINDWINDOW)); });
        At(1000, [this] {
            EXPECT_EQ(device.MessageBoxText(),
                      WString(TEXT("Launch Application you want to add to On or Off list and "
                                   "press Application Button 1!")));
            EXPECT_TRUE(device.ClickButton(IDOK));
        });
    }
    static CSettingsDlg* Dialog() { return Frame() != nullptr ? Frame()->SettingsDlg : nullptr; }
    bool HotKeyHeldByDialog() const {
        const CSettingsDlg* dialog = Dialog();
        for (const sim::HotKey& key : device.windows.hotKeys.All())
            if (dialog != nullptr && key.window == dialog->m_hWnd && key.virtualKey == VK_APP1)
                return true;
        return false;
    }
    bool FindTimerRuns() const {
        const CSettingsDlg* dialog = Dialog();
        return dialog != nullptr && device.windows.timers.Find(dialog->m_hWnd, 1) != nullptr;
    }
};

TEST_F(FindWindowTest, AddToAppendsAndBringsTheDialogBack) {
    StartFindMode();
    bool hidden = false, held = false, timer = false;
    At(1500, [&] {
        hidden = !IsWindowVisible(Dialog()->m_hWnd);
        held = HotKeyHeldByDialog();
        timer = FindTimerRuns();
        device.OpenWindow(TEXT("Calendar"));
    });
    At(2000, [this] { device.TapKey(VK_APP1); });
    std::optional<WString> offered;
    std::optional<bool> activeOffered;
    At(2000, [&] {
        offered = device.ControlText(IDC_FOUNDCAPTION);
        activeOffered = device.ControlChecked(IDC_LIST_ACTIVE);
        device.ClickButton(IDOK); // Add To
    });
    std::optional<WString> listShown;
    bool back = false, released = true;
    At(2500, [&] {
        back = IsWindowVisible(Dialog()->m_hWnd) && GetForegroundWindow() == Dialog()->m_hWnd;
        released = !HotKeyHeldByDialog() && !FindTimerRuns();
        listShown = device.ControlText(IDC_ONLIST);
        device.ClickButton(IDCANCEL);
    });
    ChooseFromIcon(3000, TEXT("Exit"));
    Run();
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(held);
    EXPECT_TRUE(timer);
    EXPECT_EQ(offered, WString(TEXT("Calendar")));
    EXPECT_EQ(activeOffered, true) << "the first capture offers the ON row's Active";
    EXPECT_TRUE(back);
    EXPECT_TRUE(released);
    EXPECT_EQ(listShown, WString(TEXT("Calendar")));
}

TEST_F(FindWindowTest, CancelWithContinueKeepsTheModeAndTheChosenList) {
    StartFindMode();
    At(1500, [this] { device.OpenWindow(TEXT("Notes")); });
    At(2000, [this] { device.TapKey(VK_APP1); });
    At(2000, [this] {
        device.ChooseRadio(IDC_LIST_OFF);
        device.SetCheck(IDC_CONTINUEFIND, true);
        device.scheduler.AtNextWait([this] { device.ClickButton(IDCANCEL); });
    });
    bool stillHidden = false, held = false;
    int remembered = -1;
    WString offList;
    At(3000, [&] {
        stillHidden = !IsWindowVisible(Dialog()->m_hWnd);
        held = HotKeyHeldByDialog() && FindTimerRuns();
        remembered = Dialog()->LastListIndex;
        offList = Dialog()->OffList;
    });
    At(3500, [this] { device.TapKey(VK_APP1); });
    std::optional<bool> offOffered;
    At(3500, [&] {
        offOffered = device.ControlChecked(IDC_LIST_OFF);
        device.ClickButton(IDCANCEL); // continue now clear: the mode ends
    });
    bool ended = false;
    At(4000, [&] {
        ended = IsWindowVisible(Dialog()->m_hWnd) && !HotKeyHeldByDialog() && !FindTimerRuns();
        device.ClickButton(IDCANCEL);
    });
    ChooseFromIcon(5000, TEXT("Exit"));
    Run();
    EXPECT_TRUE(stillHidden);
    EXPECT_TRUE(held);
    EXPECT_EQ(remembered, 2);
    EXPECT_EQ(offList, WString(TEXT("HR: ;"))) << "Cancel appends nothing";
    EXPECT_EQ(offOffered, true);
    EXPECT_TRUE(ended);
}

TEST_F(FindWindowTest, TwoHotKeyMessagesForOnePressOpenOneDialog) {
    StartFindMode();
    At(2000, [this] {
        PostMessageW(Dialog()->m_hWnd, WM_HOTKEY, VK_APP1, 0);
        PostMessageW(Dialog()->m_hWnd, WM_HOTKEY, VK_APP1, 0);
    });
    int dialogs = 0;
    At(2000, [&] {
        for (HWND window : device.windows.TopLevel()) {
            WCHAR caption[32] = {};
            GetWindowTextW(window, caption, 32);
            dialogs += WString(caption) == TEXT("Window Found") ? 1 : 0;
        }
        device.ClickButton(IDCANCEL);
    });
    At(2500, [&] { device.ClickButton(IDCANCEL); });
    ChooseFromIcon(3000, TEXT("Exit"));
    Run();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(device.trace.Count("DialogBoxParamW"), 2u) << "settings and one Window Found";
}

// Two presses of "Find Window!" before the mode has begun (the second waits in the queue
// behind the first's message box) start the find timer once.
TEST_F(FindWindowTest, FindWindowPressedTwiceStartsOneTimer) {
    ChooseFromIcon(1000, TEXT("Settings"));
    HWND dialog = nullptr;
    At(1000, [&] {
        dialog = device.ForegroundDialog();
        for (int i = 0; i < 2; ++i)
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_FINDWINDOW, BN_CLICKED), 0);
    });
    device.trace.Enable(true);
    int boxes = 0;
    for (std::uint64_t t = 1001; t < 1010; ++t)
        At(t, [&] {
            if (device.OpenMessageBox() != nullptr) {
                ++boxes;
                device.ClickButton(IDOK);
            }
        });
    At(1200, [this] { EXPECT_TRUE(FindTimerRuns()); });
    At(1200, [this] { device.ClickButton(IDCANCEL); });
    ChooseFromIcon(2000, TEXT("Exit"));
    Run();
    EXPECT_EQ(boxes, 2);
    int timers = 0;
    for (const sim::TraceCall& call : device.trace.Records())
        if (call.name == "SetTimer" &&
            call.args.rfind(sim::TraceArg(static_cast<const void*>(dialog)) + ",", 0) == 0)
            ++timers;
    EXPECT_EQ(timers, 1);
}

TEST_F(FindWindowTest, TimerGrabsTheButtonAgainEveryHalfSecond) {
    StartFindMode();
    std::uint64_t grabs = 0;
    At(1001, [&] { grabs = device.trace.Count("RegisterHotKey"); });
    At(3001, [&] { grabs = device.trace.Count("RegisterHotKey") - grabs; });
    At(3001, [this] { device.TapKey(VK_APP1); });
    At(3001, [this] { device.ClickButton(IDCANCEL); });
    At(3500, [this] { device.ClickButton(IDCANCEL); });
    ChooseFromIcon(4000, TEXT("Exit"));
    Run();
    EXPECT_EQ(grabs, 4u);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0) << "every coredll handle freed";
}

TEST_F(FindWindowTest, ClosingTheDialogDuringTheModeReleasesTimerAndHotKey) {
    StartFindMode();
    ChooseFromIcon(2000, TEXT("Settings")); // brings the hidden dialog back, mode still on
    bool modeOnWhenBack = false;
    HWND dialogWindow = nullptr;
    At(2000, [&] {
        modeOnWhenBack = HotKeyHeldByDialog() && FindTimerRuns();
        dialogWindow = Dialog()->m_hWnd;
        device.ClickButton(IDCANCEL);
    });
    bool keyLeft = true;
    At(2500, [&] {
        keyLeft = false;
        for (const sim::HotKey& key : device.windows.hotKeys.All())
            keyLeft = keyLeft || key.window == dialogWindow;
    });
    ChooseFromIcon(3000, TEXT("Exit"));
    Run();
    EXPECT_TRUE(modeOnWhenBack);
    EXPECT_FALSE(keyLeft);
    // The dialog ends the mode itself rather than leaving it to the window's destruction.
    EXPECT_EQ(device.trace.Count("UnregisterHotKey"), 1u);
    EXPECT_EQ(device.trace.Count("KillTimer"), 1u);
}

TEST_F(FindWindowTest, MissingReleaseExportDoesNotStopTheMode) {
    device.libraries.SetExportMissing("UnregisterFunc1", true);
    StartFindMode();
    bool held = false;
    At(1500, [&] { held = FindTimerRuns(); });
    At(2000, [this] { device.ClickButton(IDCANCEL); });
    ChooseFromIcon(2000, TEXT("Settings"));
    At(2000, [this] { device.ClickButton(IDCANCEL); });
    ChooseFromIcon(3000, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(held);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

} // namespace
