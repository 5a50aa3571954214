#include "ui/settings_dlg.h"

#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "ui/setting_bindings.h"

namespace {

constexpr int kCaptionChars = 256; // so at most 255 characters of a caption are read

BOOL CALLBACK ShowCaptionProc(HWND window, LPARAM) {
    WCHAR caption[kCaptionChars] = {};
    ::GetWindowTextW(window, caption, kCaptionChars);
    if (caption[0] != 0)
        AfxMessageBox(caption);
    return TRUE;
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
    on::Clicked<&CSettingsDlg::OnFindWindow>(IDC_FINDWINDOW),
    on::Timer<&CSettingsDlg::OnFindTimer>(),
    on::Clicked<&CSettingsDlg::OnTest>(IDC_TEST),
    on::Message<&CSettingsDlg::OnHotKey>(WM_HOTKEY),
END_MESSAGE_MAP();
// clang-format on

void CSettingsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, SettingControl(OffListValue), OffList);
    DDX_Text(dx, SettingControl(OnListValue), OnList);
    DDX_Check(dx, SettingControl(OffTakesPrecedenceValue), OffTakesPrecedence);
    DDX_CBIndex(dx, SettingControl(BTControlValue), BTControl);
    DDX_Text(dx, SettingControl(OnRunListValue), OnRunList);
    DDX_Check(dx, SettingControl(KeepPDAOnValue), KeepPDAOn);
    DDX_CBIndex(dx, SettingControl(DefControlValue), DefControl);
    DDX_CBIndex(dx, SettingControl(DefaultActionValue), DefaultAction);
    DDX_CBIndex(dx, SettingControl(WFDefaultActionValue), WFDefaultAction);
}

void CSettingsDlg::OnTest() {
    ::EnumWindows(&ShowCaptionProc, 1);
}

void CSettingsDlg::OnOK() {
    EndFindMode();
    CDialog::OnOK();
}

void CSettingsDlg::OnCancel() {
    EndFindMode();
    CDialog::OnCancel();
}
