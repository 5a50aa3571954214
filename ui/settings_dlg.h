// The settings dialog (template 130): the nine settings bound to its controls.
#pragma once

#include "framework/dialog.h"
#include "res/resource_ids.h"

class CSettingsDlg : public CDialog {
  public:
    CSettingsDlg() : CDialog(IDD_SETTINGS) {}
    ~CSettingsDlg() override = default;

    void DoDataExchange(CDataExchange* dx) override;
    // Closing the dialog ends a find-window mode that is still running, so that neither its
    // timer nor its hot key outlives the dialog.
    void OnOK() override;
    void OnCancel() override;

    // The hidden Test button: every non-empty top-level caption in a message box.
    void OnTest();

    // Find-window mode (ui/find_window.cpp): "Find Window!" hides the dialog and takes
    // Application Button 1; each press offers the foreground caption in a Window Found dialog.
    void OnFindWindow();
    void OnFindTimer(UINT_PTR timerId);
    LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    void GrabAppButton();
    void EndFindMode();
    // The list member a Window Found list index selects: 0 OnList, 1 OnRunList, else OffList.
    WString& ListByIndex(int index);

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
