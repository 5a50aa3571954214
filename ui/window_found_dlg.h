// The Window Found dialog (template 138): the captured caption, the target list and the
// choice to stay in find-window mode.
#pragma once

#include "framework/dialog.h"
#include "res/resource_ids.h"

class CWindowFoundDlg : public CDialog {
  public:
    CWindowFoundDlg() : CDialog(IDD_WINDOW_FOUND) {}
    ~CWindowFoundDlg() override = default;

    void DoDataExchange(CDataExchange* dx) override;
    // Cancel keeps the user's last choices too: controls to members, then IDCANCEL.
    void OnCancel() override;

    int ContinueFind = 0;
    WString FoundCaption;
    int ListIndex = -1;

    DECLARE_MESSAGE_MAP()
};
