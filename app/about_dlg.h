// The About box: dialog 100 with the program's icon, name, version and purpose.
#pragma once

#include "framework/dialog.h"
#include "res/resource_ids.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
    ~CAboutDlg() override = default;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    DECLARE_MESSAGE_MAP()
};
