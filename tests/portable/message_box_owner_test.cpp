// Owned popups as every host keeps them: GetLastActivePopup follows activation through the
// owner chain, and MessageBoxW disables its owner while the box is up. Runs on the simulated
// device and under Wine.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const WCHAR* caption, DWORD style, HWND owner) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = TEXT("KipoPortableOwner");
    RegisterClassW(&wc); // fails harmlessly when a previous test registered it
    return CreateWindowExW(0, wc.lpszClassName, caption, style, 0, 0, 100, 100, owner, nullptr,
                           nullptr, nullptr);
}

constexpr DWORD kShown = WS_POPUP | WS_CAPTION | WS_VISIBLE;

// What the box's own loop showed: a message posted before the box opens is dispatched by it.
struct InsideBox {
    HWND owner = nullptr;
    HWND box = nullptr;
    HWND boxOwner = nullptr;
    HWND lastPopup = nullptr;
    BOOL ownerEnabled = TRUE;
};
InsideBox g_inside;
constexpr UINT kLookInside = WM_APP + 1;

LRESULT CALLBACK LookInsideProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kLookInside)
        return DefWindowProcW(window, message, wParam, lParam);
    g_inside.ownerEnabled = IsWindowEnabled(g_inside.owner);
    g_inside.lastPopup = GetLastActivePopup(g_inside.owner);
    g_inside.box = GetActiveWindow();
    g_inside.boxOwner = GetWindow(g_inside.box, GW_OWNER);
    PostMessageW(g_inside.box, WM_COMMAND, IDOK, 0);
    return 0;
}

} // namespace

TEST(OwnedPopups, LastActivePopupFollowsActivation) {
    FreshDevice device;
    const HWND owner = MakeWindow(TEXT("Kipo Owner"), kShown, nullptr);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(GetLastActivePopup(owner), owner);
    const HWND popup = MakeWindow(TEXT("Kipo Popup"), kShown, owner);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetLastActivePopup(owner), popup) << "shown, so activated";
    SetForegroundWindow(owner);
    EXPECT_EQ(GetLastActivePopup(owner), owner);
    SetForegroundWindow(popup);
    EXPECT_EQ(GetLastActivePopup(owner), popup);
    DestroyWindow(popup);
    EXPECT_EQ(GetLastActivePopup(owner), owner) << "a destroyed popup is not answered";
    const HWND hidden = MakeWindow(TEXT("Kipo Hidden"), WS_POPUP | WS_CAPTION, owner);
    EXPECT_EQ(GetLastActivePopup(owner), owner) << "never active";
    EXPECT_EQ(GetLastActivePopup(nullptr), nullptr);
    DestroyWindow(hidden);
    DestroyWindow(owner);
}

TEST(OwnedPopups, MessageBoxDisablesItsOwnerWhileUp) {
    FreshDevice device;
    g_inside = InsideBox{};
    g_inside.owner = MakeWindow(TEXT("Kipo Owner"), kShown, nullptr);
    ASSERT_NE(g_inside.owner, nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = LookInsideProc;
    wc.lpszClassName = TEXT("KipoPortableLookInside");
    RegisterClassW(&wc);
    const HWND helper = CreateWindowExW(0, wc.lpszClassName, TEXT(""), 0, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(helper, nullptr);
    ASSERT_TRUE(PostMessageW(helper, kLookInside, 0, 0));
    EXPECT_EQ(MessageBoxW(g_inside.owner, TEXT("Text"), TEXT("Kipo"), MB_OK | MB_SETFOREGROUND),
              IDOK);
    EXPECT_FALSE(g_inside.ownerEnabled);
    EXPECT_NE(g_inside.box, nullptr);
    EXPECT_NE(g_inside.box, g_inside.owner);
    EXPECT_EQ(g_inside.boxOwner, g_inside.owner);
    EXPECT_EQ(g_inside.lastPopup, g_inside.box);
    EXPECT_TRUE(IsWindowEnabled(g_inside.owner)) << "enabled again when the box closes";
    DestroyWindow(g_inside.owner);
    DestroyWindow(helper);
}
