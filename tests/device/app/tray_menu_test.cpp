// The notification icon and its popup, driven as the user does it: taps are the shell's
// callback messages, choices are made inside the popup's own loop.
#include <gtest/gtest.h>

#include <vector>

#include "tests/device/app/kipo_run.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

namespace {

using TrayMenuTest = KipoRunTest;

TEST_F(TrayMenuTest, LeftPressOpensThePopupWithTheThreeCommands) {
    std::vector<WString> items;
    At(1000, [this] { device.TapIcon(); });
    At(1000, [&] {
        items = device.MenuItems();
        device.DismissMenu();
    });
    ChooseFromIcon(2000, TEXT("Exit"));
    Run();
    EXPECT_EQ(items, (std::vector<WString>{TEXT("Settings"), TEXT("About Kipo"), TEXT("Exit")}));
}

TEST_F(TrayMenuTest, PopupSitsOnTheCommandBarsTopRightCorner) {
    device.trace.Enable(true);
    ChooseFromIcon(1000, TEXT("Exit"));
    Run();
    const std::vector<std::string> calls = device.trace.Texts({"TrackPopupMenuEx"});
    ASSERT_EQ(calls.size(), 1u);
    // flags 0x68 = right, bottom, vertical; x the bar's right edge, y its top (240x320).
    EXPECT_NE(calls[0].find(", 104, 240, 294, "), std::string::npos) << calls[0];
}

struct TapCase {
    int line;
    UINT mouseMessage;
};

TEST_F(TrayMenuTest, OtherMouseMessagesOpenNothing) {
    const TapCase cases[] = {
        {__LINE__, WM_LBUTTONUP},
        {__LINE__, WM_LBUTTONDBLCLK},
        {__LINE__, WM_RBUTTONDOWN},
        {__LINE__, WM_MOUSEMOVE},
    };
    std::uint64_t time = 1000;
    for (const TapCase& c : cases) {
        At(time, [this, c] { EXPECT_TRUE(device.TapIcon(c.mouseMessage)) << c.line; });
        At(time, [this, c] { EXPECT_FALSE(device.MenuOpen()) << "table line " << c.line; });
        time += 100;
    }
    // The icon's identifier must be 1 too: a press reported for another icon is ignored.
    At(time, [this] { PostMessageW(Frame()->m_hWnd, 0x0402, 2, WM_LBUTTONDOWN); });
    At(time, [this] { EXPECT_FALSE(device.MenuOpen()); });
    ChooseFromIcon(time + 1000, TEXT("Exit"));
    Run();
    EXPECT_EQ(device.trace.Count("TrackPopupMenuEx"), 1u);
}

TEST_F(TrayMenuTest, SecondPressWhileOpenDoesNotOpenASecondPopup) {
    int menuOpenFlag = 0;
    At(1000, [this] { device.TapIcon(); });
    At(1000, [this] { device.TapIcon(); });
    At(1000, [&] {
        menuOpenFlag = Frame()->MenuOpen;
        device.DismissMenu();
    });
    int afterClose = -1;
    At(1500, [&] { afterClose = Frame()->MenuOpen; });
    ChooseFromIcon(2000, TEXT("Exit"));
    Run();
    EXPECT_EQ(menuOpenFlag, 1);
    EXPECT_EQ(afterClose, 0);
    EXPECT_EQ(device.trace.Count("TrackPopupMenuEx"), 2u)
        << "one for the first press, one for Exit";
}

TEST_F(TrayMenuTest, MonitorTickGoesOnWhileThePopupIsOpen) {
    At(1000, [this] { device.TapIcon(); });
    std::uint64_t ticksBefore = 0;
    At(1000, [&] { ticksBefore = device.trace.Count("GetForegroundWindow"); });
    At(1100, [this] { device.OpenWindow(TEXT("Inbox")); });
    WString seen;
    std::uint64_t ticksDuring = 0;
    bool stillOpen = false;
    At(10000, [&] {
        stillOpen = device.MenuOpen();
        seen = Frame()->LastCaption;
        ticksDuring = device.trace.Count("GetForegroundWindow") - ticksBefore;
        device.DismissMenu();
    });
    ChooseFromIcon(11000, TEXT("Exit"));
    Run();
    EXPECT_TRUE(stillOpen);
    EXPECT_GE(ticksDuring, 5u);
    EXPECT_EQ(seen, WString(TEXT("inbox")));
}

TEST_F(TrayMenuTest, AboutBoxShowsItsTextsAndClosesWithOk) {
    ChooseFromIcon(1000, TEXT("About Kipo"));
    WString caption;
    std::vector<WString> texts;
    bool fullScreen = false;
    bool focusOnIcon = false;
    At(1000, [&] {
        HWND dialog = device.ForegroundDialog();
        ASSERT_NE(dialog, nullptr);
        // No tab stops: the box asked for the default focus, which falls on its first control.
        focusOnIcon = GetFocus() == GetWindow(dialog, GW_CHILD);
        WCHAR text[64] = {};
        GetWindowTextW(dialog, text, 64);
        caption = text;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            WCHAR childText[64] = {};
            if (IsWindowVisible(child) && GetWindowTextW(child, childText, 64) > 0)
                texts.push_back(childText);
        }
        ASSERT_FALSE(device.shell.dialogInits.empty());
        fullScreen = device.shell.dialogInits.back().dialog == dialog &&
                     device.shell.dialogInits.back().flags == 0x000D;
        EXPECT_TRUE(device.ClickButton(IDOK));
    });
    bool closed = false;
    At(1500,
       [&] { closed = device.ForegroundDialog() == nullptr && device.NewestDialog() == nullptr; });
    ChooseFromIcon(2000, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(caption, WString(TEXT("About Kipo")));
    // The icon has no text; the OK button sits in the caption, not among the controls.
    EXPECT_EQ(texts, (std::vector<WString>{TEXT("Kipo Version 0.67"),
                                           TEXT("Automatic Bluetooth/WLAN Switcher")}));
    EXPECT_TRUE(fullScreen);
    EXPECT_TRUE(focusOnIcon);
    EXPECT_TRUE(closed);
}

TEST_F(TrayMenuTest, ExitRemovesTheIconAndEndsWithNothingLeft) {
    device.trace.Enable(true);
    ChooseFromIcon(1000, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(device.IconShown());
    EXPECT_EQ(device.trace.Count("Shell_NotifyIcon"), 2u);
    const std::vector<std::string> calls = device.trace.Texts({"Shell_NotifyIcon"});
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].rfind("Shell_NotifyIcon(2", 0), 0u) << calls[1];
    EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    EXPECT_LE(device.Now(), 1000u) << "Exit ends the program at once";
}

TEST_F(TrayMenuTest, ExitWhileTheAboutBoxIsOpenEndsCleanly) {
    ChooseFromIcon(1000, TEXT("About Kipo"));
    ChooseFromIcon(1500, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(device.IconShown());
    EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
}

TEST_F(TrayMenuTest, WholeProgramFromItsEntryRunsAnHourOfTicksThenExit) {
    ChooseFromIcon(3600 * 1000, TEXT("Exit"));
    int result = -1;
    {
        sim::Device::ProcessScope scope(device, sim::kProgramProcess);
        WCHAR commandLine[] = TEXT("");
        result = wWinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW);
    }
    EXPECT_EQ(result, 0);
    // A tick every 1.5 s from the frame's creation at 0.5 s.
    EXPECT_NEAR(static_cast<double>(device.trace.Count("GetForegroundWindow")), 2400.0, 2.0);
    EXPECT_FALSE(device.IconShown());
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
}

} // namespace
