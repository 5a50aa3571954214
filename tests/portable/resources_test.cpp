// The program's resources as Win32 reads them from the executable: strings, menu 128, the
// icons, and dialogs 130 and 138 made from their templates. Runs on the simulated device
// (resource tables) and under Wine (the generated .rc compiled into the executable), so both
// hosts are held to the same resources.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "res/resource_ids.h"
#include "tests/support/fresh_device.h"

namespace {

HINSTANCE Module() {
    return GetModuleHandleW(nullptr);
}

WString MenuText(HMENU menu, UINT position) {
    WCHAR buffer[64] = {};
    GetMenuStringW(menu, position, buffer, 64, MF_BYPOSITION);
    return buffer;
}

TEST(Resources, StringsCopyWhatFits) {
    FreshDevice device;
    WCHAR buffer[64] = {};
    EXPECT_EQ(LoadStringW(Module(), IDR_MAINFRAME, buffer, 64), 40);
    EXPECT_EQ(WString(buffer), WString(TEXT("Kipo\n\nKipo\n\n\nKipo.Document\nKipo Document")));
    EXPECT_EQ(LoadStringW(Module(), IDR_MAINFRAME, buffer, 5), 4);
    EXPECT_EQ(WString(buffer), WString(TEXT("Kipo")));
    EXPECT_EQ(LoadStringW(Module(), IDS_SETTINGS, buffer, 64), 8);
    EXPECT_EQ(WString(buffer), WString(TEXT("Settings")));
    EXPECT_EQ(LoadStringW(Module(), 999, buffer, 64), 0);
}

TEST(Resources, FrameMenuHasTheFilePopupAndHelp) {
    FreshDevice device;
    const HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(MenuText(menu, 0), WString(TEXT("&File")));
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(-1));
    EXPECT_EQ(MenuText(menu, 1), WString(TEXT("&Help")));
    EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(ID_HELP_MENU));
    const HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    const UINT ids[] = {ID_SETTINGS, ID_APP_ABOUT, 0, ID_APP_EXIT};
    const WCHAR* texts[] = {TEXT("Settings..."), TEXT("&About Kipo..."), TEXT(""), TEXT("E&xit")};
    for (UINT i = 0; i < 4; ++i) {
        EXPECT_EQ(GetMenuItemID(file, static_cast<int>(i)), ids[i]) << i;
        EXPECT_EQ(MenuText(file, i), WString(texts[i])) << i;
    }
    EXPECT_NE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_TRUE(DestroyMenu(menu));
}

TEST(Resources, TheThreeIconsLoad) {
    FreshDevice device;
    for (WORD id : {IDR_MAINFRAME, IDI_NOTIFY_HIGHRES, IDI_NOTIFY_LOWRES})
        EXPECT_NE(LoadIconW(Module(), MAKEINTRESOURCEW(id)), nullptr) << id;
    EXPECT_EQ(LoadIconW(Module(), MAKEINTRESOURCEW(999)), nullptr);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct ChildRow {
    int id;
    const WCHAR* text;
    bool visible;
};

// The dialog's controls in order: identifier, text, whether created visible.
std::vector<ChildRow> Children(HWND dialog, std::vector<WString>& texts) {
    std::vector<ChildRow> rows;
    texts.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR buffer[128] = {};
        GetWindowTextW(child, buffer, 128);
        texts.emplace_back(buffer);
        const bool visible = (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0;
        rows.push_back(ChildRow{GetDlgCtrlID(child), nullptr, visible});
    }
    return rows;
}

void ExpectChildren(HWND dialog, const std::vector<ChildRow>& expected) {
    std::vector<WString> texts;
    const std::vector<ChildRow> rows = Children(dialog, texts);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].id, expected[i].id) << "control " << i + 1;
        EXPECT_EQ(texts[i], WString(expected[i].text)) << "control " << i + 1;
        EXPECT_EQ(rows[i].visible, expected[i].visible) << "control " << i + 1;
    }
}

TEST(Resources, WindowFoundDialogHasItsControlsInTemplateOrder) {
    FreshDevice device;
    const HWND dialog = CreateDialogParamW(Module(), MAKEINTRESOURCEW(IDD_WINDOW_FOUND), nullptr,
                                           QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ExpectChildren(dialog, {{-1, TEXT("Window Caption:"), true},
                            {IDC_FOUNDCAPTION, TEXT(""), true},
                            {IDC_LIST_ACTIVE, TEXT("Active"), true},
                            {IDC_LIST_RUNNING, TEXT("Running"), true},
                            {IDC_LIST_OFF, TEXT("Active"), true},
                            {IDC_CONTINUEFIND, TEXT("Continue find mode"), true},
                            {IDOK, TEXT("Add To"), true},
                            {IDCANCEL, TEXT("Cancel"), true},
                            {-1, TEXT("ON:"), true},
                            {-1, TEXT("OFF:"), true}});
    DestroyWindow(dialog);
}

TEST(Resources, SettingsDialogHasItsHiddenControlsHidden) {
    FreshDevice device;
    ASSERT_TRUE(SHInitExtraControls());
    const HWND dialog =
        CreateDialogParamW(Module(), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, QuietDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    std::vector<WString> texts;
    const std::vector<ChildRow> rows = Children(dialog, texts);
    ASSERT_EQ(rows.size(), 28u);
    std::vector<int> hidden;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].visible)
            hidden.push_back(static_cast<int>(i + 1));
    // "Match:" list and label, check-interval edit and labels, Test, the input-panel control.
    EXPECT_EQ(hidden, (std::vector<int>{18, 19, 20, 21, 22, 23, 24}));
    EXPECT_EQ(rows[17].id, IDC_MATCH);
    EXPECT_EQ(rows[19].id, IDC_CHECKINTERVAL);
    EXPECT_EQ(rows[22].id, IDC_TEST);
    EXPECT_EQ(texts[6], WString(TEXT("Override \"On\" lists")));
    EXPECT_EQ(texts[14], WString(TEXT("Beginnings of windows' captions separated by \";\" (Today "
                                      "window has caption \"Desktop\")")));
    DestroyWindow(dialog);
}

} // namespace
