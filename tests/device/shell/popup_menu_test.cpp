// Menu 128 as the program reads it, and the popup's modal loop: the program's timers go on
// while it is open, a choice arrives as WM_COMMAND, a dismissal as nothing, WM_QUIT unwinds it.
#include <gtest/gtest.h>

#include "platform/sim/menus.h"
#include "res/resource_ids.h"
#include "tests/device/shell/shell_fixture.h"

namespace {

using PopupMenuTest = ShellTest;

void RunUntilQuit() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0))
        DispatchMessageW(&msg);
}

WString MenuText(HMENU menu, UINT item, UINT flags, int size = 64) {
    std::vector<WCHAR> buffer(static_cast<std::size_t>(size) + 1, 'X');
    const int n = GetMenuStringW(menu, item, buffer.data(), size, flags);
    return WString(buffer.data(), static_cast<std::size_t>(n));
}

struct ItemCase {
    int line;
    int position;
    UINT id;
    const WCHAR* text;
    UINT state;
};

TEST_F(PopupMenuTest, MenuOfTheFrameReadsAsItsResource) {
    const HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(GetMenuItemID(menu, 0), 0xFFFFFFFFu) << "a popup has no command";
    EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION), WString(TEXT("&File")));
    EXPECT_EQ(GetMenuItemID(menu, 1), 65535u);
    EXPECT_EQ(MenuText(menu, 1, MF_BYPOSITION), WString(TEXT("&Help")));
    EXPECT_EQ(GetMenuItemID(menu, 2), 0xFFFFFFFFu) << "past the end";

    const HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetSubMenu(menu, 1), nullptr);
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (4 << 8)));
    const ItemCase items[] = {
        {__LINE__, 0, ID_SETTINGS, TEXT("Settings..."), MF_STRING},
        {__LINE__, 1, ID_APP_ABOUT, TEXT("&About Kipo..."), MF_STRING},
        {__LINE__, 2, 0, TEXT(""), MF_SEPARATOR},
        {__LINE__, 3, ID_APP_EXIT, TEXT("E&xit"), MF_STRING},
    };
    ASSERT_EQ(GetMenuItemCount(file), 4);
    for (const ItemCase& c : items) {
        EXPECT_EQ(GetMenuItemID(file, c.position), c.id) << "table line " << c.line;
        EXPECT_EQ(MenuText(file, static_cast<UINT>(c.position), MF_BYPOSITION), WString(c.text))
            << "table line " << c.line;
        EXPECT_EQ(GetMenuState(file, static_cast<UINT>(c.position), MF_BYPOSITION), c.state)
            << "table line " << c.line;
    }
    // By command, the search goes into the popups.
    EXPECT_EQ(MenuText(menu, ID_APP_EXIT, MF_BYCOMMAND), WString(TEXT("E&xit")));
    EXPECT_EQ(MenuText(menu, ID_APP_EXIT, MF_BYCOMMAND, 4), WString(TEXT("E&x")));
    EXPECT_EQ(GetMenuStringW(menu, ID_APP_EXIT, nullptr, 0, MF_BYCOMMAND), 5);
    EXPECT_EQ(GetMenuState(menu, 4242, MF_BYCOMMAND), 0xFFFFFFFFu);
}

TEST_F(PopupMenuTest, DestroyingTheMenuDestroysItsPopups) {
    const HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME));
    const HMENU file = GetSubMenu(menu, 0);
    EXPECT_EQ(device.menus.Count(sim::kProgramProcess), 2);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(device.menus.Count(sim::kProgramProcess), 0);
    EXPECT_EQ(GetMenuItemCount(file), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    EXPECT_FALSE(DestroyMenu(menu));
}

TEST_F(PopupMenuTest, UnknownMenusAndOwnersAreRefused) {
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(129)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadMenuW(nullptr, TEXT("FRAME")), nullptr);
    const HWND owner = MakeWindow();
    EXPECT_FALSE(TrackPopupMenuEx(reinterpret_cast<HMENU>(0x99), 0, 0, 0, owner, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    const HMENU file = GetSubMenu(LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME)), 0);
    EXPECT_FALSE(TrackPopupMenuEx(file, 0, 0, 0, reinterpret_cast<HWND>(0x99), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(device.MenuOpen());
}

class PopupLoopTest : public ShellTest {
  protected:
    void SetUp() override {
        owner = MakeWindow();
        file = GetSubMenu(LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME)), 0);
        ASSERT_NE(file, nullptr);
        log.clear(); // the owner's creation is not part of any test here
    }
    // Tracks the popup as the frame does; the log's length when it returned.
    BOOL Track(UINT flags = 0x68) {
        const BOOL result = TrackPopupMenuEx(file, flags, 240, 294, owner, nullptr);
        loggedWhileOpen = log.size();
        return result;
    }
    HWND owner = nullptr;
    HMENU file = nullptr;
    std::size_t loggedWhileOpen = 0;
};

TEST_F(PopupLoopTest, ChoiceArrivesAsWmCommandAfterTimersRanInsideTheLoop) {
    SetTimer(owner, 1, 100, nullptr);
    At(1000, [this] {
        EXPECT_TRUE(device.MenuOpen());
        EXPECT_TRUE(device.ChooseMenuItem(TEXT("Settings")));
    });
    EXPECT_TRUE(Track());
    EXPECT_FALSE(device.MenuOpen());
    EXPECT_EQ(device.Now(), 1000u);

    // Inside the popup: WM_INITMENUPOPUP first, then the timer every 100 ms.
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().message, static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(log.front().wParam, reinterpret_cast<WPARAM>(file));
    const std::vector<LoggedMessage> ticks = Received(WM_TIMER);
    ASSERT_EQ(ticks.size(), 10u);
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i].time, 100u * (i + 1));
    EXPECT_TRUE(Received(WM_COMMAND).empty()) << "the command is posted, not sent";

    KillTimer(owner, 1);
    RunUntilQuit();
    const std::vector<LoggedMessage> commands = Received(WM_COMMAND, owner);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(LOWORD(commands[0].wParam), ID_SETTINGS);
    EXPECT_EQ(commands[0].lParam, 0);
}

TEST_F(PopupLoopTest, DismissalIssuesNoCommand) {
    At(500, [this] { EXPECT_TRUE(device.DismissMenu()); });
    EXPECT_TRUE(Track());
    RunUntilQuit();
    EXPECT_TRUE(Received(WM_COMMAND).empty());
    EXPECT_FALSE(device.DismissMenu()) << "nothing is open any more";
}

TEST_F(PopupLoopTest, ReturnCommandGivesTheChoiceInsteadOfPostingIt) {
    At(500, [this] { EXPECT_TRUE(device.ChooseMenuItem(TEXT("Exit"))); });
    EXPECT_EQ(Track(TPM_RETURNCMD), static_cast<BOOL>(ID_APP_EXIT));
    At(600, [this] { EXPECT_TRUE(device.DismissMenu()); });
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    RunUntilQuit();
    EXPECT_TRUE(Received(WM_COMMAND).empty());
}

struct ChoiceCase {
    int line;
    const WCHAR* text;
    bool chosen;
};

TEST_F(PopupLoopTest, ItemsAreChosenByTheTextTheUserReads) {
    const ChoiceCase cases[] = {
        {__LINE__, TEXT("Settings"), true}, {__LINE__, TEXT("About Kipo"), true},
        {__LINE__, TEXT("Exit"), true},     {__LINE__, TEXT("Settings..."), false},
        {__LINE__, TEXT("E&xit"), false},   {__LINE__, TEXT("exit"), false},
        {__LINE__, TEXT(""), false},        {__LINE__, TEXT("File"), false},
    };
    EXPECT_FALSE(device.ChooseMenuItem(TEXT("Exit"))) << "no popup is open";
    std::uint64_t time = 100;
    for (const ChoiceCase& c : cases) {
        At(time, [this, c] {
            EXPECT_EQ(device.MenuItems(),
                      (std::vector<WString>{TEXT("Settings"), TEXT("About Kipo"), TEXT("Exit")}));
            EXPECT_EQ(device.ChooseMenuItem(c.text), c.chosen) << "table line " << c.line;
            if (!c.chosen)
                device.DismissMenu();
        });
        EXPECT_TRUE(Track()) << "table line " << c.line;
        time += 100;
    }
    RunUntilQuit();
    EXPECT_EQ(Received(WM_COMMAND).size(), 3u);
}

TEST_F(PopupLoopTest, SecondPopupWhileOneIsOpenIsRefused) {
    BOOL second = TRUE;
    DWORD error = 0;
    onWindow = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            KillTimer(owner, 1);
            second = TrackPopupMenuEx(file, 0, 0, 0, owner, nullptr);
            error = GetLastError();
        }
        return std::nullopt;
    };
    SetTimer(owner, 1, 100, nullptr);
    At(500, [this] { device.DismissMenu(); });
    EXPECT_TRUE(Track());
    EXPECT_FALSE(second);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
}

TEST_F(PopupLoopTest, QuitClosesThePopupAndReachesTheOuterLoop) {
    onWindow = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            KillTimer(owner, 1);
            PostQuitMessage(7);
        }
        return std::nullopt;
    };
    SetTimer(owner, 1, 300, nullptr);
    At(5000, [this] { device.ChooseMenuItem(TEXT("Exit")); });
    EXPECT_TRUE(Track());
    EXPECT_EQ(device.Now(), 300u) << "the popup closed at the quit, not at the choice";
    EXPECT_FALSE(device.MenuOpen());
    MSG msg;
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_TRUE(Received(WM_COMMAND).empty());
}

TEST_F(PopupLoopTest, OwnerDestroyedWhileOpenEndsThePopup) {
    onWindow = [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER)
            DestroyWindow(window);
        return std::nullopt;
    };
    SetTimer(owner, 1, 200, nullptr);
    At(5000, [this] { device.ChooseMenuItem(TEXT("Exit")); });
    EXPECT_TRUE(Track());
    EXPECT_EQ(device.Now(), 200u);
    EXPECT_FALSE(device.MenuOpen());
}

struct PlainCase {
    int line;
    const WCHAR* text;
    const WCHAR* plain;
};

TEST(PlainMenuText, DropsMnemonicsAndTrailingDots) {
    const PlainCase cases[] = {
        {__LINE__, TEXT("E&xit"), TEXT("Exit")},
        {__LINE__, TEXT("&About Kipo..."), TEXT("About Kipo")},
        {__LINE__, TEXT("Save && Quit"), TEXT("Save & Quit")},
        {__LINE__, TEXT("A...B"), TEXT("A...B")},
        {__LINE__, TEXT("Wait...."), TEXT("Wait.")},
        {__LINE__, TEXT("..."), TEXT("")},
        {__LINE__, TEXT("&"), TEXT("")},
    };
    for (const PlainCase& c : cases)
        EXPECT_EQ(sim::PlainMenuText(c.text), WString(c.plain)) << "table line " << c.line;
}

} // namespace
