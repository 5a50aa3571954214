// CMainFrame::LoadSettings: the nine settings from the store, then the six rule lists.
#include "app/main_frame.h"
#include "settings/rule_lists.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"

namespace {

int ReadInt(CSettingsStore& store, const SettingValue& value) {
    return store.GetProfileInt(SettingsSection, value.name, value.intDefault);
}

WString ReadText(CSettingsStore& store, const SettingValue& value) {
    return store.GetProfileString(SettingsSection, value.name, value.textDefault);
}

} // namespace

void CMainFrame::LoadSettings() {
    Busy = 1;
    // Every read comes before any list is built, so routing uses the DefControl just read.
    DefaultAction = ReadInt(Store, DefaultActionValue);
    WFDefaultAction = ReadInt(Store, WFDefaultActionValue);
    const WString onList = ReadText(Store, OnListValue);
    const WString offList = ReadText(Store, OffListValue);
    const WString onRunList = ReadText(Store, OnRunListValue);
    BTControl = ReadInt(Store, BTControlValue);
    DefControl = ReadInt(Store, DefControlValue);
    OffTakesPrecedence = ReadInt(Store, OffTakesPrecedenceValue);
    KeepPDAOn = ReadInt(Store, KeepPDAOnValue);

    BuildRuleLists(onList, DefControl, BtOnActiveList, WifiOnActiveList);
    BuildRuleLists(offList, DefControl, BtOffList, WifiOffList);
    BuildRuleLists(onRunList, DefControl, BtOnRunningList, WifiOnRunningList);
    Busy = 0;
}
