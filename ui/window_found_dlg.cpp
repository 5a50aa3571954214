#include "ui/window_found_dlg.h"

#include "framework/data_exchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CWindowFoundDlg, CDialog)
END_MESSAGE_MAP();
// clang-format on

void CWindowFoundDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_CONTINUEFIND, ContinueFind);
    DDX_Text(dx, IDC_FOUNDCAPTION, FoundCaption);
    DDX_Radio(dx, IDC_LIST_ACTIVE, ListIndex);
}

void CWindowFoundDlg::OnCancel() {
    UpdateData(TRUE);
    EndDialog(IDCANCEL);
}
