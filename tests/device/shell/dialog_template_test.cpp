// Dialogs made from the templates of res/: every control with its identifier, class, text,
// style and place, hidden controls hidden, dialog units turned into pixels for the template
// font, and the tab order of the template.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sim/dialog_units.h"
#include "res/resource_ids.h"
#include "tests/device/shell/shell_fixture.h"

namespace {

using DialogTemplateTest = ShellTest;

// Pixels as Windows maps dialog units: value * base / divisor, rounded half away from zero.
int Px(int units, int base, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

struct UnitsCase {
    int line;
    int pointSize;
    int dpi;
    int x;
    int y;
};

TEST(DialogUnits, BaseUnitsOfTheTemplateFonts) {
    const UnitsCase cases[] = {
        {__LINE__, 8, 96, 6, 13},   // the base units every Windows dialog of this size has
        {__LINE__, 7, 96, 5, 11},   // Tahoma 7 on a 240x320 screen
        {__LINE__, 7, 192, 10, 23}, // ... on a 480x640 screen
        {__LINE__, 0, 96, 6, 13},   // no usable size: the system font's
    };
    for (const UnitsCase& c : cases) {
        const sim::BaseUnits units = sim::BaseUnitsFor(c.pointSize, c.dpi);
        EXPECT_EQ(units.x, c.x) << "table line " << c.line;
        EXPECT_EQ(units.y, c.y) << "table line " << c.line;
    }
}

struct MulDivCase {
    int line;
    int a, b, c, result;
};

TEST(DialogUnits, MulDivRoundsHalfAwayFromZero) {
    const MulDivCase cases[] = {
        {__LINE__, 5, 5, 4, 6},           {__LINE__, 7, 5, 4, 9},
        {__LINE__, 139, 5, 4, 174},       {__LINE__, -10, 5, 4, -13},
        {__LINE__, -9, 5, 4, -11},        {__LINE__, 10, 11, 8, 14},
        {__LINE__, 1, 1, 0, -1},          {__LINE__, 0x7FFFFFFF, 4, 1, -1},
        {__LINE__, 0x40000000, 4, 2, -1}, {__LINE__, 0x40000000, 2, 4, 0x20000000},
    };
    for (const MulDivCase& c : cases)
        EXPECT_EQ(sim::MulDiv(c.a, c.b, c.c), c.result) << "table line " << c.line;
}

// One expected control: what the template must produce, in template order.
struct ControlRow {
    int line;
    int id;
    const WCHAR* className;
    const WCHAR* text;
    bool visible;
    DWORD styleBits; // bits that must be set besides WS_CHILD
    short x, y, cx, cy;
};

constexpr DWORD kEditBits = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kListBits = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kCheckBits = BS_AUTOCHECKBOX | WS_TABSTOP;

// The settings dialog's controls, in template order.
const ControlRow kSettingsRows[] = {
    {__LINE__, -1, TEXT("STATIC"), TEXT("If window is Active:"), true, 0, 4, 29, 69, 8},
    {__LINE__, 1012, TEXT("BUTTON"), TEXT("Keep PDA ON"), true, kCheckBits, 87, 26, 65, 11},
    {__LINE__, 1000, TEXT("EDIT"), TEXT(""), true, kEditBits, 5, 38, 148, 14},
    {__LINE__, -1, TEXT("STATIC"), TEXT("If window is Running (full captions):"), true, 0, 3, 53,
     149, 9},
    {__LINE__, 1003, TEXT("EDIT"), TEXT(""), true, kEditBits, 5, 62, 148, 14},
    {__LINE__, 1001, TEXT("EDIT"), TEXT(""), true, kEditBits, 6, 88, 148, 14},
    {__LINE__, 1011, TEXT("BUTTON"), TEXT("Override \"On\" lists"), true, kCheckBits, 6, 104, 80,
     12},
    {__LINE__, -1, TEXT("BUTTON"), TEXT("Turn on:"), true, BS_GROUPBOX, 1, 19, 157, 60},
    {__LINE__, -1, TEXT("BUTTON"), TEXT("Turn off:"), true, BS_GROUPBOX, 1, 79, 157, 41},
    {__LINE__, 1002, TEXT("COMBOBOX"), TEXT(""), true, kListBits, 42, 123, 43, 65},
    {__LINE__, 1006, TEXT("COMBOBOX"), TEXT(""), true, kListBits, 112, 138, 46, 65},
    {__LINE__, 1005, TEXT("BUTTON"), TEXT("Find Window!"), true, WS_TABSTOP, 102, 157, 50, 14},
    {__LINE__, 1, TEXT("BUTTON"), TEXT("OK"), true, BS_DEFPUSHBUTTON | WS_TABSTOP, 27, 175, 50, 14},
    {__LINE__, 2, TEXT("BUTTON"), TEXT("Cancel"), true, WS_TABSTOP, 81, 175, 50, 14},
    {__LINE__, -1, TEXT("STATIC"),
     TEXT("Beginnings of windows' captions separated by \";\" (Today window has caption "
          "\"Desktop\")"),
     true, 0, 1, 2, 157, 16},
    {__LINE__, -1, TEXT("STATIC"), TEXT("Default: BT:"), true, 0, 1, 126, 41, 8},
    {__LINE__, -1, TEXT("STATIC"), TEXT("BT Stack:"), true, 0, 78, 141, 33, 8},
    {__LINE__, 1004, TEXT("COMBOBOX"), TEXT(""), false, kListBits, 32, 177, 126, 57},
    {__LINE__, -1, TEXT("STATIC"), TEXT("Match:"), false, 0, 8, 175, 22, 8},
    {__LINE__, 1014, TEXT("EDIT"), TEXT(""), false, kEditBits, 51, 157, 27, 14},
    {__LINE__, -1, TEXT("STATIC"), TEXT("Check interval"), false, 0, 1, 159, 49, 8},
    {__LINE__, -1, TEXT("STATIC"), TEXT("ms."), false, 0, 81, 159, 13, 8},
    {__LINE__, 1015, TEXT("BUTTON"), TEXT("Test"), false, WS_TABSTOP, 1, 152, 50, 14},
    {__LINE__, -1, TEXT("SIPPREF"), TEXT(""), false, 0, -10, -10, 5, 5},
    {__LINE__, 1007, TEXT("COMBOBOX"), TEXT(""), true, kListBits, 26, 139, 43, 65},
    {__LINE__, -1, TEXT("STATIC"), TEXT("Control:"), true, 0, 1, 142, 31, 8},
    {__LINE__, 1008, TEXT("COMBOBOX"), TEXT(""), true, kListBits, 115, 122, 43, 65},
    {__LINE__, -1, TEXT("STATIC"), TEXT("WiFi:"), true, 0, 97, 125, 16, 8},
};

const ControlRow kWindowFoundRows[] = {
    {__LINE__, -1, TEXT("STATIC"), TEXT("Window Caption:"), true, 0, 2, 1, 60, 8},
    {__LINE__, 1006, TEXT("EDIT"), TEXT(""), true, kEditBits, 2, 10, 134, 14},
    {__LINE__, 1007, TEXT("BUTTON"), TEXT("Active"), true, BS_AUTORADIOBUTTON | WS_GROUP, 55, 26,
     35, 12},
    {__LINE__, 1010, TEXT("BUTTON"), TEXT("Running"), true, BS_AUTORADIOBUTTON, 93, 26, 39, 12},
    {__LINE__, 1008, TEXT("BUTTON"), TEXT("Active"), true, BS_AUTORADIOBUTTON, 55, 39, 35, 11},
    {__LINE__, 1009, TEXT("BUTTON"), TEXT("Continue find mode"), true,
     kCheckBits | BS_MULTILINE | WS_GROUP, 42, 50, 81, 12},
    {__LINE__, 1, TEXT("BUTTON"), TEXT("Add To"), true, BS_DEFPUSHBUTTON | WS_TABSTOP, 2, 30, 31,
     14},
    {__LINE__, 2, TEXT("BUTTON"), TEXT("Cancel"), true, WS_TABSTOP, 2, 47, 31, 14},
    {__LINE__, -1, TEXT("STATIC"), TEXT("ON:"), true, 0, 41, 27, 14, 8},
    {__LINE__, -1, TEXT("STATIC"), TEXT("OFF:"), true, 0, 37, 40, 18, 8},
};

const ControlRow kAboutRows[] = {
    {__LINE__, -1, TEXT("STATIC"), TEXT(""), true, SS_ICON, 11, 12, 20, 20},
    {__LINE__, -1, TEXT("STATIC"), TEXT("Kipo Version 0.67"), true, SS_NOPREFIX, 40, 10, 65, 8},
    {__LINE__, -1, TEXT("STATIC"), TEXT("Automatic Bluetooth/WLAN Switcher"), true, 0, 7, 62, 147,
     17},
};

WString Caption(HWND window) {
    WCHAR buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

// Walks the dialog's children in order and compares each with its row.
void ExpectControls(const sim::Device& device, HWND dialog, std::span<const ControlRow> rows,
                    int baseX, int baseY) {
    RECT dialogRect{};
    ASSERT_TRUE(GetWindowRect(dialog, &dialogRect));
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : rows) {
        ASSERT_NE(control, nullptr) << "missing the control of table line " << row.line;
        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        EXPECT_EQ(GetDlgCtrlID(control), row.id) << "table line " << row.line;
        EXPECT_EQ(device.windows.Get(control)->className, WString(row.className))
            << "table line " << row.line;
        EXPECT_EQ(Caption(control), WString(row.text)) << "table line " << row.line;
        EXPECT_EQ((style & WS_VISIBLE) != 0, row.visible) << "table line " << row.line;
        EXPECT_EQ(style & (row.styleBits | WS_CHILD), row.styleBits | WS_CHILD)
            << "table line " << row.line;
        EXPECT_EQ(style & CBS_SORT & (row.className == WString(TEXT("COMBOBOX")) ? ~0u : 0u), 0u)
            << "drop-down lists keep their items' order; table line " << row.line;
        RECT r{};
        GetWindowRect(control, &r);
        EXPECT_EQ(r.left - dialogRect.left, Px(row.x, baseX, 4)) << "table line " << row.line;
        EXPECT_EQ(r.top - dialogRect.top, Px(row.y, baseY, 8)) << "table line " << row.line;
        EXPECT_EQ(r.right - r.left, Px(row.cx, baseX, 4)) << "table line " << row.line;
        if (row.className == WString(TEXT("COMBOBOX"))) {
            // The template height includes the opened list; the closed box is one line.
            RECT dropped{};
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            EXPECT_EQ(dropped.bottom - dropped.top, Px(row.cy, baseY, 8)) << row.line;
            EXPECT_LT(r.bottom - r.top, Px(row.cy, baseY, 8)) << row.line;
        } else {
            EXPECT_EQ(r.bottom - r.top, Px(row.cy, baseY, 8)) << "table line " << row.line;
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr) << "the dialog has more controls than its template";
}

TEST_F(DialogTemplateTest, SettingsDialogHasEveryControlOfItsTemplate) {
    SHInitExtraControls();
    const HWND dialog =
        CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Caption(dialog), WString(TEXT("Kipo Settings")));
    EXPECT_TRUE(IsWindowVisible(dialog));
    RECT rect{};
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.right - rect.left, Px(159, 5, 4));
    EXPECT_EQ(rect.bottom - rect.top, Px(189, 11, 8));
    ExpectControls(device, dialog, kSettingsRows, 5, 11);
    // The dialog manager adds no items: the dialog's owner adds them when it starts.
    EXPECT_EQ(SendDlgItemMessageW(dialog, 1002, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendDlgItemMessageW(dialog, 1002, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(DialogTemplateTest, WindowFoundDialogIsCentredAtItsTemplateSize) {
    const HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_WINDOW_FOUND), nullptr,
                                           LoggingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Caption(dialog), WString(TEXT("Window Found")));
    EXPECT_EQ(GetForegroundWindow(), dialog) << "the template sets it foreground";
    RECT rect{};
    GetWindowRect(dialog, &rect);
    const int width = Px(139, 5, 4);
    const int height = Px(64, 11, 8);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
    // Centred between the taskbar (26 px) and the menu bar (26 px) of a 240x320 screen.
    EXPECT_EQ(rect.left, (240 - width) / 2);
    EXPECT_EQ(rect.top, 26 + (320 - 52 - height) / 2);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    EXPECT_EQ(style & WS_SYSMENU, 0u);
    ExpectControls(device, dialog, kWindowFoundRows, 5, 11);
}

TEST_F(DialogTemplateTest, ControlsScaleWithTheScreen) {
    device.SetScreenSize(480, 640);
    const HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_WINDOW_FOUND), nullptr,
                                           LoggingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ExpectControls(device, dialog, kWindowFoundRows, 10, 23);
}

TEST_F(DialogTemplateTest, AboutBoxShowsTheProgramIconAndHasItsOkInTheCaption) {
    const HWND dialog =
        CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, LoggingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Caption(dialog), WString(TEXT("About Kipo")));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)), WS_EX_CAPTIONOKBTN);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "its template is not visible; a modal run shows it";
    ShowWindow(dialog, SW_SHOW);
    ExpectControls(device, dialog, kAboutRows, 6, 13);
    const HWND icon = GetWindow(dialog, GW_CHILD);
    const auto shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
    EXPECT_EQ(device.shell.IconResource(shown), IDR_MAINFRAME);
}

TEST_F(DialogTemplateTest, InputPanelControlNeedsTheShellsExtraControls) {
    EXPECT_EQ(
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0),
        -1);
    EXPECT_EQ(
        CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0),
        nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("Kipo Settings")), nullptr) << "nothing half-made stays";
    EXPECT_TRUE(Received(WM_INITDIALOG).empty());
    EXPECT_TRUE(SHInitExtraControls());
    EXPECT_NE(
        CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0),
        nullptr);
}

TEST_F(DialogTemplateTest, UnknownTemplatesAndParentsFailAsDialogBoxDoes) {
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(131), nullptr, LoggingDialogProc, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamW(nullptr, TEXT("SETTINGS"), nullptr, LoggingDialogProc, 0), -1);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_WINDOW_FOUND),
                              reinterpret_cast<HWND>(0x1234), LoggingDialogProc, 0),
              0);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, LoggingDialogProc, 0), -1);
    EXPECT_TRUE(log.empty());
}

TEST_F(DialogTemplateTest, TabKeyWalksTheVisibleTabStopsInTemplateOrder) {
    SHInitExtraControls();
    std::vector<int> focus;
    onDialog = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR {
        return message == WM_INITDIALOG ? TRUE : FALSE;
    };
    for (int i = 0; i < 13; ++i) {
        At(100 + 10 * i, [this, &focus] {
            focus.push_back(GetDlgCtrlID(GetFocus()));
            device.TapKey(VK_TAB);
        });
    }
    At(500, [this] { EXPECT_TRUE(device.ClickButton(IDCANCEL)); });
    onDialog = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return message == WM_INITDIALOG ? TRUE : FALSE;
    };
    EXPECT_EQ(
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0),
        IDCANCEL);
    // Hidden 1004, 1014 and 1015 are skipped; after Cancel the walk starts again.
    EXPECT_EQ(focus, (std::vector<int>{1012, 1000, 1003, 1001, 1011, 1002, 1006, 1005, 1, 2, 1007,
                                       1008, 1012}));
}

} // namespace
