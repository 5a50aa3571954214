// The Settings command of the main frame: the nine values into the dialog, a modal run, and on
// OK all nine back and the rule lists rebuilt.
#include <memory>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "ui/setting_bindings.h"
#include "ui/settings_dlg.h"

void CMainFrame::OnSettings() {
    if (SettingsDlg != nullptr) {
        // Already open (perhaps hidden by find-window mode): bring that one back.
        ::ShowWindow(SettingsDlg->m_hWnd, SW_SHOW);
        ::SetForegroundWindow(SettingsDlg->m_hWnd);
        return;
    }
    auto dialog = std::make_unique<CSettingsDlg>();
    SettingsDlg = dialog.get();

    for (const SettingBinding& b : SettingBindings) {
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
        for (const SettingBinding& b : SettingBindings) {
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
