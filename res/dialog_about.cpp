// Dialog 100, the About box: the program's icon and two lines of text; its OK button sits in
// the caption.
#include "res/control_styles.h"
#include "res/resource_ids.h"
#include "res/tables.h"

namespace res {

namespace {

constexpr Control kControls[] = {
    {kStatic, nullptr, IDC_STATIC, kIconStatic, 0, 11, 12, 20, 20, IDR_MAINFRAME},
    {kStatic, TEXT("Kipo Version 0.67"), IDC_STATIC, kStaticText | SS_NOPREFIX, 0, 40, 10, 65, 8},
    {kStatic, TEXT("Automatic Bluetooth/WLAN Switcher"), IDC_STATIC, kStaticText, 0, 7, 62, 147,
     17},
};

constexpr Dialog kAbout = {
    IDD_ABOUTBOX,
    TEXT("About Kipo"),
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    WS_EX_CAPTIONOKBTN,
    0,
    0,
    161,
    114,
    TEXT("System"),
    8,
    kControls,
    {},
};

} // namespace

const Dialog& AboutDialog() {
    return kAbout;
}

} // namespace res
