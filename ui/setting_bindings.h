// Where each of the nine settings lives in the settings dialog: the member that holds it while
// the dialog is open and the control that shows and edits it. One table, in the fixed order of
// SettingValues, read by the Settings command, by the dialog's data exchange and by the
// simulator's scenarios (which name controls by their setting).
#pragma once

#include <cstddef>
#include <iterator>

#include "res/resource_ids.h"
#include "settings/settings_values.h"
#include "ui/settings_dlg.h"

struct SettingBinding {
    SettingValue value;
    int control; // the control of dialog IDD_SETTINGS
    int CSettingsDlg::*number = nullptr;
    WString CSettingsDlg::*text = nullptr;
};

namespace setting_binding_detail {
constexpr SettingBinding Bind(const SettingValue& value, int control, int CSettingsDlg::*number) {
    return {value, control, number, nullptr};
}
constexpr SettingBinding Bind(const SettingValue& value, int control, WString CSettingsDlg::*text) {
    return {value, control, nullptr, text};
}
constexpr bool SameName(const WCHAR* a, const WCHAR* b) {
    for (; *a != 0 && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}
} // namespace setting_binding_detail

inline constexpr SettingBinding SettingBindings[] = {
    setting_binding_detail::Bind(DefaultActionValue, IDC_DEFAULTACTION,
                                 &CSettingsDlg::DefaultAction),
    setting_binding_detail::Bind(WFDefaultActionValue, IDC_WFDEFAULTACTION,
                                 &CSettingsDlg::WFDefaultAction),
    setting_binding_detail::Bind(OnListValue, IDC_ONLIST, &CSettingsDlg::OnList),
    setting_binding_detail::Bind(OffListValue, IDC_OFFLIST, &CSettingsDlg::OffList),
    setting_binding_detail::Bind(OnRunListValue, IDC_ONRUNLIST, &CSettingsDlg::OnRunList),
    setting_binding_detail::Bind(BTControlValue, IDC_BTCONTROL, &CSettingsDlg::BTControl),
    setting_binding_detail::Bind(DefControlValue, IDC_DEFCONTROL, &CSettingsDlg::DefControl),
    setting_binding_detail::Bind(OffTakesPrecedenceValue, IDC_OFFTAKESPRECEDENCE,
                                 &CSettingsDlg::OffTakesPrecedence),
    setting_binding_detail::Bind(KeepPDAOnValue, IDC_KEEPPDAON, &CSettingsDlg::KeepPDAOn),
};

// Every row names the value SettingValues has at that place, with a member of its type, so
// that neither table can be reordered or extended without the other.
constexpr bool BindingsFollowSettingValues() {
    if (std::size(SettingBindings) != static_cast<std::size_t>(SettingValueCount))
        return false;
    for (int i = 0; i < SettingValueCount; ++i) {
        const SettingBinding& b = SettingBindings[i];
        if (!setting_binding_detail::SameName(b.value.name, SettingValues[i].name))
            return false;
        const bool isInt = SettingValues[i].type == SettingType::Int;
        if (isInt != (b.number != nullptr) || isInt == (b.text != nullptr))
            return false;
    }
    return true;
}
static_assert(BindingsFollowSettingValues());

// The control that edits `value`.
constexpr int SettingControl(const SettingValue& value) {
    for (const SettingBinding& b : SettingBindings)
        if (setting_binding_detail::SameName(b.value.name, value.name))
            return b.control;
    return -1;
}
