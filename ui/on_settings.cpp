// The Settings command of the main frame: the nine values into the dialog, a modal run, and on
// OK all nine back and the rule lists rebuilt.
#include <memory>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "ui/settings_dlg.h"

namespace {

// The dialog member of each value, in the one fixed order of SettingValues.
struct Binding {
    int CSettingsDlg::*number;
    WString CSettingsDlg::*text;
};
const Binding kBindings[SettingValueCount] = {
    {&CSettingsDlg::DefaultAction, nullptr}, {&CSettingsDlg::WFDefaultAction, nullptr},
    {nullptr, &CSettingsDlg::OnList},        {nullptr, &CSettingsDlg::OffList},
    {nullptr, &CSettingsDlg::OnRunList},     {&CSettingsDlg::BTControl, nullptr},
    {&CSettingsDlg::DefControl, nullptr},    {&CSettingsDlg::OffTakesPrecedence, nullptr},
    {&CSettingsDlg::KeepPDAOn, nullptr},
};

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

    for (int i = 0; i < SettingValueCount; ++i) {
        const SettingValue& value = SettingValues[i];
        if (value.type == SettingType::Int)
            (*dialog).*kBindings[i].number =
                Store.GetProfileInt(SettingsSection, value.name, value.intDefault);
        else
            (*dialog).*kBindings[i].text =
                Store.GetProfileString(SettingsSection, value.name, value.textDefault);
    }

    DeleteWatch watch(*this);
    const INT_PTR result = dialog->DoModal();
    if (watch.Deleted()) // Exit was chosen while the dialog was open
        return;

    if (result == IDOK) {
        for (int i = 0; i < SettingValueCount; ++i) {
            const SettingValue& value = SettingValues[i];
            if (value.type == SettingType::Int)
                Store.WriteProfileInt(SettingsSection, value.name, (*dialog).*kBindings[i].number);
            else
                Store.WriteProfileString(SettingsSection, value.name,
                                         ((*dialog).*kBindings[i].text).c_str());
        }
        LoadSettings();
    }
    SettingsDlg = nullptr;
}
