// Dialog 130, the settings dialog. Template order is the tab order. The "Match:" list, the
// check-interval edit with its labels and the "Test" button exist but are never shown.
#include "res/control_styles.h"
#include "res/resource_ids.h"
#include "res/tables.h"

namespace res {

namespace {

constexpr Control kControls[] = {
    {kStatic, TEXT("If window is Active:"), IDC_STATIC, kStaticText, 0, 4, 29, 69, 8},
    {kButton, TEXT("Keep PDA ON"), IDC_KEEPPDAON, kAutoCheckBox, 0, 87, 26, 65, 11},
    {kEdit, TEXT(""), IDC_ONLIST, kLineEdit, 0, 5, 38, 148, 14},
    {kStatic, TEXT("If window is Running (full captions):"), IDC_STATIC, kStaticText, 0, 3, 53, 149,
     9},
    {kEdit, TEXT(""), IDC_ONRUNLIST, kLineEdit, 0, 5, 62, 148, 14},
    {kEdit, TEXT(""), IDC_OFFLIST, kLineEdit, 0, 6, 88, 148, 14},
    {kButton, TEXT("Override \"On\" lists"), IDC_OFFTAKESPRECEDENCE, kAutoCheckBox, 0, 6, 104, 80,
     12},
    {kButton, TEXT("Turn on:"), IDC_STATIC, kGroupBox, 0, 1, 19, 157, 60},
    {kButton, TEXT("Turn off:"), IDC_STATIC, kGroupBox, 0, 1, 79, 157, 41},
    {kComboBox, TEXT(""), IDC_DEFAULTACTION, kDropDownList, 0, 42, 123, 43, 65},
    {kComboBox, TEXT(""), IDC_BTCONTROL, kDropDownList, 0, 112, 138, 46, 65},
    {kButton, TEXT("Find Window!"), IDC_FINDWINDOW, kPushButton, 0, 102, 157, 50, 14},
    {kButton, TEXT("OK"), IDOK, kDefPushButton, 0, 27, 175, 50, 14},
    {kButton, TEXT("Cancel"), IDCANCEL, kPushButton, 0, 81, 175, 50, 14},
    {kStatic,
     TEXT("Beginnings of windows' captions separated by \";\" (Today window has caption "
          "\"Desktop\")"),
     IDC_STATIC, kStaticText, 0, 1, 2, 157, 16},
    {kStatic, TEXT("Default: BT:"), IDC_STATIC, kStaticText, 0, 1, 126, 41, 8},
    {kStatic, TEXT("BT Stack:"), IDC_STATIC, kStaticText, 0, 78, 141, 33, 8},
    {kComboBox, TEXT(""), IDC_MATCH, Hidden(kDropDownList), 0, 32, 177, 126, 57},
    {kStatic, TEXT("Match:"), IDC_STATIC, Hidden(kStaticText), 0, 8, 175, 22, 8},
    {kEdit, TEXT(""), IDC_CHECKINTERVAL, Hidden(kLineEdit), 0, 51, 157, 27, 14},
    {kStatic, TEXT("Check interval"), IDC_STATIC, Hidden(kStaticText), 0, 1, 159, 49, 8},
    {kStatic, TEXT("ms."), IDC_STATIC, Hidden(kStaticText), 0, 81, 159, 13, 8},
    {kButton, TEXT("Test"), IDC_TEST, Hidden(kPushButton), 0, 1, 152, 50, 14},
    {kSipPrefClass, TEXT(""), IDC_STATIC, Hidden(kSipPref), 0, -10, -10, 5, 5},
    {kComboBox, TEXT(""), IDC_DEFCONTROL, kDropDownList, 0, 26, 139, 43, 65},
    {kStatic, TEXT("Control:"), IDC_STATIC, kStaticText, 0, 1, 142, 31, 8},
    {kComboBox, TEXT(""), IDC_WFDEFAULTACTION, kDropDownList, 0, 115, 122, 43, 65},
    {kStatic, TEXT("WiFi:"), IDC_STATIC, kStaticText, 0, 97, 125, 16, 8},
};

// An item's position is the number stored in the bound member and in the registry.
constexpr const WCHAR* kActions[] = {TEXT("Leave"), TEXT("Turn On"), TEXT("Turn Off")};
constexpr const WCHAR* kStacks[] = {TEXT("Widcomm"), TEXT("Microsoft")};
constexpr const WCHAR* kRadios[] = {TEXT("Bluetooth"), TEXT("WiFi")};
constexpr const WCHAR* kMatches[] = {TEXT("Only active window"),
                                     TEXT("All windows (only exact match)")};

constexpr ComboItems kComboItems[] = {
    {IDC_DEFAULTACTION, kActions}, {IDC_WFDEFAULTACTION, kActions}, {IDC_BTCONTROL, kStacks},
    {IDC_DEFCONTROL, kRadios},     {IDC_MATCH, kMatches},
};

constexpr Dialog kSettings = {
    IDD_SETTINGS,
    TEXT("Kipo Settings"),
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    0,
    0,
    0,
    159,
    189,
    TEXT("Tahoma"),
    7,
    kControls,
    kComboItems,
};

} // namespace

const Dialog& SettingsDialog() {
    return kSettings;
}

} // namespace res
