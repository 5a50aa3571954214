#include "ui/settings_dlg.h"

#include "framework/data_exchange.h"
#include "framework/message_box.h"

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
    DDX_Text(dx, IDC_OFFLIST, OffList);
    DDX_Text(dx, IDC_ONLIST, OnList);
    DDX_Check(dx, IDC_OFFTAKESPRECEDENCE, OffTakesPrecedence);
    DDX_CBIndex(dx, IDC_BTCONTROL, BTControl);
    DDX_Text(dx, IDC_ONRUNLIST, OnRunList);
    DDX_Check(dx, IDC_KEEPPDAON, KeepPDAOn);
    DDX_CBIndex(dx, IDC_DEFCONTROL, DefControl);
    DDX_CBIndex(dx, IDC_DEFAULTACTION, DefaultAction);
    DDX_CBIndex(dx, IDC_WFDEFAULTACTION, WFDefaultAction);
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
