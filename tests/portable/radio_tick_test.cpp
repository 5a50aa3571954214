// The monitor tick through Win32 calls only, on the simulated device and under Wine: windows
// of the test's own stand for the foreground program and a running one.
#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "tests/support/fresh_device.h"

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const WCHAR* caption, bool visible) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = TEXT("KipoPortableTick");
    RegisterClassW(&wc); // fails harmlessly when an earlier test registered it
    return CreateWindowExW(0, TEXT("KipoPortableTick"), caption, visible ? WS_VISIBLE : 0, 0, 0,
                           100, 100, nullptr, nullptr, nullptr, nullptr);
}

class RadioTick : public ::testing::Test {
  protected:
    void SetUp() override {
        device.Handheld().bluetooth.SetStack(model::BluetoothStack::Microsoft);
        device.Handheld().wlan.SetUp(model::WlanSetUp::Off);
        frame.BTControl = 1;
        front = MakeWindow(TEXT("Kipo Portable Browser - Home"), true);
        ASSERT_NE(front, nullptr);
        SetForegroundWindow(front);
    }
    void TearDown() override {
        DestroyWindow(front);
        if (running != nullptr)
            DestroyWindow(running);
    }

    FreshDevice device;
    CSettingsStore store;
    CMainFrame frame{store};
    HWND front = nullptr;
    HWND running = nullptr;
};

TEST_F(RadioTick, ForegroundCaptionTurnsWifiOnAndANewOneTurnsItOff) {
    if (GetForegroundWindow() != front)
        GTEST_SKIP() << "this host did not bring the test's window to the foreground";
    frame.WifiOnActiveList = {TEXT("kipo portable browser")};
    frame.WFDefaultAction = 2;
    frame.MonitorTick(1);
    EXPECT_EQ(frame.WifiState, 1);
    EXPECT_TRUE(device.Handheld().wlan.IsOn());
    EXPECT_EQ(frame.LastCaption, WString(TEXT("kipo portable browser - home")));
    SetWindowTextW(front, TEXT("Kipo Portable Mail"));
    frame.MonitorTick(1);
    EXPECT_EQ(frame.WifiState, 0);
    EXPECT_FALSE(device.Handheld().wlan.IsOn());
    EXPECT_EQ(frame.BtState, -1);
}

TEST_F(RadioTick, RunningWindowKeepsBluetoothOn) {
    running = MakeWindow(TEXT("Kipo Portable GPS"), false);
    ASSERT_NE(running, nullptr);
    frame.BtOnRunningList = {TEXT("kipo portable gps")};
    for (int i = 0; i < 3; ++i) {
        frame.MonitorTick(1);
        EXPECT_EQ(device.Handheld().bluetooth.Mode(), 1u);
        device.Handheld().bluetooth.SetOn(false); // the user switches it off by hand
    }
    DestroyWindow(running);
    running = nullptr;
    frame.MonitorTick(1);
    EXPECT_FALSE(device.Handheld().bluetooth.IsOn());
}

TEST_F(RadioTick, BusyFrameDoesNothing) {
    frame.WifiOnActiveList = {TEXT("kipo portable browser")};
    frame.Busy = 1;
    frame.MonitorTick(1);
    EXPECT_EQ(frame.WifiState, -1);
    EXPECT_TRUE(frame.LastCaption.empty());
    EXPECT_FALSE(device.Handheld().wlan.IsOn());
}

} // namespace
