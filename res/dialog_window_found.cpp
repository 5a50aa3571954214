// Dialog 138, Window Found: the captured caption and the list it goes to. The radio group runs
// from "Active" (1007) to the check box that starts the next group; its buttons are numbered in
// template order: 1007, 1010, 1008.
#include "res/control_styles.h"
#include "res/resource_ids.h"
#include "res/tables.h"

namespace res {

namespace {

constexpr Control kControls[] = {
    {kStatic, TEXT("Window Caption:"), IDC_STATIC, kStaticText, 0, 2, 1, 60, 8},
    {kEdit, TEXT(""), IDC_FOUNDCAPTION, kLineEdit, 0, 2, 10, 134, 14},
    {kButton, TEXT("Active"), IDC_LIST_ACTIVE, kAutoRadio | WS_GROUP, 0, 55, 26, 35, 12},
    {kButton, TEXT("Running"), IDC_LIST_RUNNING, kAutoRadio, 0, 93, 26, 39, 12},
    {kButton, TEXT("Active"), IDC_LIST_OFF, kAutoRadio, 0, 55, 39, 35, 11},
    {kButton, TEXT("Continue find mode"), IDC_CONTINUEFIND, kAutoCheckBox | BS_MULTILINE | WS_GROUP,
     0, 42, 50, 81, 12},
    {kButton, TEXT("Add To"), IDOK, kDefPushButton, 0, 2, 30, 31, 14},
    {kButton, TEXT("Cancel"), IDCANCEL, kPushButton, 0, 2, 47, 31, 14},
    {kStatic, TEXT("ON:"), IDC_STATIC, kStaticText, 0, 41, 27, 14, 8},
    {kStatic, TEXT("OFF:"), IDC_STATIC, kStaticText, 0, 37, 40, 18, 8},
};

constexpr Dialog kWindowFound = {
    IDD_WINDOW_FOUND,
    TEXT("Window Found"),
    DS_SETFOREGROUND | DS_CENTER | DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION,
    0,
    0,
    0,
    139,
    64,
    TEXT("Tahoma"),
    7,
    kControls,
    {},
};

} // namespace

const Dialog& WindowFoundDialog() {
    return kWindowFound;
}

} // namespace res
