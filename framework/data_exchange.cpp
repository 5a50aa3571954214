#include "framework/data_exchange.h"

namespace {

bool IsRadioButton(HWND control) {
    const auto type = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE)) & 0x0F;
    constexpr DWORD kPlainRadio = 0x0004; // BS_RADIOBUTTON
    return type == kPlainRadio || type == BS_AUTORADIOBUTTON;
}

bool StartsGroup(HWND control) {
    return (static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE)) & WS_GROUP) != 0;
}

} // namespace

void DDX_Text(CDataExchange* dx, int id, WString& value) {
    HWND control = ::GetDlgItem(dx->m_hDlg, id);
    if (control == nullptr)
        return;
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowTextW(control, value.c_str());
        return;
    }
    const int length = ::GetWindowTextLengthW(control);
    WString text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, u'\0');
    const int copied = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    value = std::move(text);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = ::GetDlgItem(dx->m_hDlg, id);
    if (control == nullptr)
        return;
    if (!dx->m_bSaveAndValidate) {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
        return;
    }
    value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value) {
    HWND control = ::GetDlgItem(dx->m_hDlg, id);
    if (control == nullptr)
        return;
    if (!dx->m_bSaveAndValidate) {
        // An index with no item (negative ones too) leaves the list without a selection.
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
        return;
    }
    value = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    HWND first = ::GetDlgItem(dx->m_hDlg, id);
    if (first == nullptr)
        return;
    if (dx->m_bSaveAndValidate)
        value = -1;
    int number = 0;
    for (HWND control = first; control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (control != first && StartsGroup(control))
            break;
        if (!IsRadioButton(control))
            continue;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageW(control, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
                value = number;
        } else {
            ::SendMessageW(control, BM_SETCHECK, number == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++number;
    }
}
