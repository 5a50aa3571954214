// The settings dialog (template 130): the nine settings bound to its controls.
#pragma once

#include "framework/dialog.h"
#include "res/resource_ids.h"

class CSettingsDlg : public CDialog {
  public:
    CSettingsDlg() : CDialog(IDD_SETTINGS) {}
    ~CSettingsDlg() override = default;

    void DoDataExchange(CDataExchange* dx) override;

    // The hidden Test button: every non-empty top-level caption in a message box.
    void OnTest();

    // Members in declaration order; the first nine carry the registry values' names.
    WString OffList;
    WString OnList;
    int OffTakesPrecedence = 0;
    int BTControl = -1;
    WString OnRunList;
    int KeepPDAOn = 0;
    int DefControl = 0;
    int DefaultAction = -1;
    int WFDefaultAction = -1;
    int FindBusy = 0;
    int LastListIndex = 0;
    int FindTimerBusy = 0;
    UINT_PTR FindTimerId = 0;

    DECLARE_MESSAGE_MAP()
};
