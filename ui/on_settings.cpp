// The Settings command of the main frame: the nine values into the dialog, a modal run, and on
// OK all nine back and the rule lists rebuilt.
#include <iterator>
#include <memory>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "ui/settings_dlg.h"

namespace {

// The dialog member of each value, in the one fixed order of SettingValues (checked below,
// so that neither table can be reordered or extended without the other).
struct Binding {
    SettingValue value;
    int CSettingsDlg::*number = nullptr;
    WString CSettingsDlg::*text = nullptr;
};
constexpr Binding Bind(const SettingValue& value, int CSettingsDlg::*number) {
    return {value, number, nullptr};
}
constexpr Binding Bind(const SettingValue& value, WString CSettingsDlg::*text) {
    return {value, nullptr, text};
}
constexpr Binding kBindings[] = {
    Bind(DefaultActionValue, &CSettingsDlg::DefaultAction),
    Bind(WFDefaultActionValue, &CSettingsDlg::WFDefaultAction),
    Bind(OnListValue, &CSettingsDlg::OnList),
    Bind(OffListValue, &CSettingsDlg::OffList),
    Bind(OnRunListValue, &CSettingsDlg::OnRunList),
    Bind(BTControlValue, &CSettingsDlg::BTControl),
    Bind(DefControlValue, &CSettingsDlg::DefControl),
    Bind(OffTakesPrecedenceValue, &CSettingsDlg::OffTakesPrecedence),
    Bind(KeepPDAOnValue, &CSettingsDlg::KeepPDAOn),
};

constexpr bool SameName(const WCHAR* a, const WCHAR* b) {
    for (; *a != 0 && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}
// Every row names the value SettingValues has at that place, with a member of its type.
constexpr bool BindingsFollowSettingValues() {
    if (std::size(kBindings) != static_cast<std::size_t>(SettingValueCount))
        return false;
    for (int i = 0; i < SettingValueCount; ++i) {
        const Binding& b = kBindings[i];
        if (!SameName(b.value.name, SettingValues[i].name))
            return false;
        const bool isInt = SettingValues[i].type == SettingType::Int;
        if (isInt != (b.number != nullptr) || isInt == (b.text != nullptr))
            return false;
    }
    return true;
}
static_assert(BindingsFollowSettingValues());

} // namespace

void CMainFrame::OnSettings() {
    if (SettingsDlg != nullptr) {
        // Already open (perhaps hidden by find-window mode): bring that one back.
        ::ShowWindow(SettingsDlg->m_hWnd, SW_SHOW);
        ::SetForegroundWindow(SettingsDlg->m_hWnd);
        return;
    }
    auto dialog = std::make_unique<CSettingsDlg>();
    SettingsDlg = dialog.get();

    for (const Binding& b : kBindings) {
        if (b.number != nullptr)
            (*dialog).*b.number =
                Store.GetProfileInt(SettingsSection, b.value.name, b.value.intDefault);
        else
            (*dialog).*b.text =
                Store.GetProfileString(SettingsSection, b.value.name, b.value.textDefault);
    }

    DeleteWatch watch(*this);
    const INT_PTR result = dialog->DoModal();
    if (watch.Deleted()) // Exit was chosen while the dialog was open
        return;

    if (result == IDOK) {
        for (const Binding& b : kBindings) {
            if (b.number != nullptr)
                Store.WriteProfileInt(SettingsSection, b.value.name, (*dialog).*b.number);
            else
                Store.WriteProfileString(SettingsSection, b.value.name,
                                         ((*dialog).*b.text).c_str());
        }
        LoadSettings();
    }
    SettingsDlg = nullptr;
}
