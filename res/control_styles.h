// Styles of the kinds of control the dialog templates use, as a resource editor writes them.
#pragma once

#include "platform/platform.h"

namespace res {

inline constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
inline constexpr DWORD kStaticText = kChild | SS_LEFT;
inline constexpr DWORD kIconStatic = kChild | SS_ICON;
inline constexpr DWORD kLineEdit = kChild | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
inline constexpr DWORD kAutoCheckBox = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
inline constexpr DWORD kAutoRadio = kChild | BS_AUTORADIOBUTTON;
inline constexpr DWORD kGroupBox = kChild | BS_GROUPBOX;
inline constexpr DWORD kDropDownList = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
inline constexpr DWORD kPushButton = kChild | BS_PUSHBUTTON | WS_TABSTOP;
inline constexpr DWORD kDefPushButton = kChild | BS_DEFPUSHBUTTON | WS_TABSTOP;
// The Pocket PC input-panel control: no style of its own.
inline constexpr DWORD kSipPref = kChild;

// A control that exists but is created without the visible style.
constexpr DWORD Hidden(DWORD style) {
    return style & ~static_cast<DWORD>(WS_VISIBLE);
}

inline constexpr const WCHAR* kStatic = TEXT("STATIC");
inline constexpr const WCHAR* kEdit = TEXT("EDIT");
inline constexpr const WCHAR* kButton = TEXT("BUTTON");
inline constexpr const WCHAR* kComboBox = TEXT("COMBOBOX");
inline constexpr const WCHAR* kSipPrefClass = TEXT("SIPPREF");

} // namespace res
