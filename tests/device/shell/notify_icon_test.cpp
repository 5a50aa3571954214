// Notification icons: what the shell accepts and refuses, what it shows, and the callback
// message a tap posts to the icon's window.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "tests/device/shell/shell_fixture.h"

namespace {

using NotifyIconTest = ShellTest;

NOTIFYICONDATA Record(HWND window, UINT id, UINT flags, HICON icon) {
    NOTIFYICONDATA data{};
    data.cbSize = 152;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = WM_USER + 2;
    data.hIcon = icon;
    return data;
}

void RunUntilQuit() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0))
        DispatchMessageW(&msg);
}

struct IconStep {
    int line;
    DWORD message;
    UINT id;
    UINT flags;
    WORD iconResource;
    BOOL result;
    bool shownAfter;
    WORD resourceAfter;
};

TEST_F(NotifyIconTest, AddModifyDeleteAsTheShellAcceptsThem) {
    const HWND window = MakeWindow();
    const IconStep steps[] = {
        {__LINE__, NIM_ADD, 1, NIF_MESSAGE | NIF_ICON, IDI_NOTIFY_LOWRES, TRUE, true, 137},
        {__LINE__, NIM_ADD, 1, NIF_MESSAGE | NIF_ICON, IDI_NOTIFY_HIGHRES, FALSE, true, 137},
        {__LINE__, NIM_MODIFY, 1, NIF_ICON, IDI_NOTIFY_HIGHRES, TRUE, true, 133},
        {__LINE__, NIM_MODIFY, 2, NIF_ICON, IDI_NOTIFY_LOWRES, FALSE, true, 133},
        {__LINE__, NIM_DELETE, 2, 0, 0, FALSE, true, 133},
        {__LINE__, 7, 1, NIF_ICON, IDI_NOTIFY_LOWRES, FALSE, true, 133},
        {__LINE__, NIM_DELETE, 1, 0, 0, TRUE, false, 0},
        {__LINE__, NIM_DELETE, 1, 0, 0, FALSE, false, 0},
        {__LINE__, NIM_MODIFY, 1, NIF_ICON, IDI_NOTIFY_LOWRES, FALSE, false, 0},
    };
    for (const IconStep& s : steps) {
        HICON icon =
            s.iconResource != 0 ? LoadIconW(nullptr, MAKEINTRESOURCEW(s.iconResource)) : nullptr;
        NOTIFYICONDATA data = Record(window, s.id, s.flags, icon);
        EXPECT_EQ(Shell_NotifyIcon(s.message, &data), s.result) << "table line " << s.line;
        EXPECT_EQ(device.IconShown(), s.shownAfter) << "table line " << s.line;
        EXPECT_EQ(device.IconResource(), s.resourceAfter) << "table line " << s.line;
    }
}

TEST_F(NotifyIconTest, BadRecordsAreRefusedAndShowNothing) {
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));
    NOTIFYICONDATA data = Record(reinterpret_cast<HWND>(0x4321), 1, NIF_MESSAGE, nullptr);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(device.IconShown());
}

TEST_F(NotifyIconTest, TapPostsTheCallbackWithTheIconAndTheMouseMessage) {
    const HWND window = MakeWindow();
    NOTIFYICONDATA data = Record(window, 1, NIF_MESSAGE | NIF_ICON, nullptr);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    At(100, [this] { EXPECT_TRUE(device.TapIcon()); });
    At(200, [this] { EXPECT_TRUE(device.TapIcon(WM_LBUTTONUP)); });
    RunUntilQuit();
    const std::vector<LoggedMessage> taps = Received(WM_USER + 2, window);
    ASSERT_EQ(taps.size(), 2u);
    EXPECT_EQ(taps[0].wParam, 1u);
    EXPECT_EQ(taps[0].lParam, WM_LBUTTONDOWN);
    EXPECT_EQ(taps[0].time, 100u);
    EXPECT_EQ(taps[1].lParam, WM_LBUTTONUP);
    EXPECT_EQ(taps[1].time, 200u);
}

TEST_F(NotifyIconTest, AnIconWithoutCallbackOrWithoutIconRecordIsNotTapped) {
    EXPECT_FALSE(device.TapIcon()) << "no icon at all";
    const HWND window = MakeWindow();
    NOTIFYICONDATA data = Record(window, 1, NIF_ICON, nullptr);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_FALSE(device.TapIcon()) << "the icon asked for no callback message";
    data.uFlags = NIF_MESSAGE;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));
    EXPECT_TRUE(device.TapIcon());
}

// The shell does not notice that the icon's window went away: the icon stays until deleted,
// and a tap then reaches nobody.
TEST_F(NotifyIconTest, IconOutlivesItsWindowUntilDeleted) {
    const HWND window = MakeWindow();
    NOTIFYICONDATA data = Record(window, 1, NIF_MESSAGE, nullptr);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(device.IconShown());
    EXPECT_FALSE(device.TapIcon());
}

TEST_F(NotifyIconTest, TipIsReadOnlyWithinItsSixtyFourUnits) {
    const HWND window = MakeWindow();
    NOTIFYICONDATA data = Record(window, 1, NIF_TIP, nullptr);
    for (WCHAR& c : data.szTip)
        c = 'x'; // no terminating NUL anywhere
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    ASSERT_NE(device.shell.IconOf(sim::kProgramProcess), nullptr);
    EXPECT_EQ(device.shell.IconOf(sim::kProgramProcess)->tip, WString(64, 'x'));
}

TEST_F(NotifyIconTest, ResourceIconsAreSharedHandles) {
    const HICON a = LoadIconW(nullptr, MAKEINTRESOURCEW(IDI_NOTIFY_HIGHRES));
    const HICON b = LoadIconW(nullptr, MAKEINTRESOURCEW(IDI_NOTIFY_HIGHRES));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, LoadIconW(nullptr, MAKEINTRESOURCEW(IDI_NOTIFY_LOWRES)));
    EXPECT_EQ(LoadIconW(nullptr, TEXT("#133")), a);
    EXPECT_TRUE(DestroyIcon(a));
    EXPECT_EQ(device.shell.IconResource(a), IDI_NOTIFY_HIGHRES) << "a shared icon stays usable";
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadIconW(nullptr, TEXT("#1x3")), nullptr);
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(0x77)));
}

} // namespace
