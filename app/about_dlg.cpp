#include "app/about_dlg.h"

// clang-format off
BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP();
// clang-format on

void CAboutDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}
