// Dialog data exchange: one list of (control, member) pairs serves both directions. Load
// (members to controls) and save (controls to members) follow fixed rules per control kind;
// nothing is validated.
#pragma once

#include "platform/text.h"

class CDataExchange {
  public:
    CDataExchange(HWND dialog, BOOL saveAndValidate)
        : m_hDlg(dialog), m_bSaveAndValidate(saveAndValidate) {}

    HWND m_hDlg;
    BOOL m_bSaveAndValidate;
};

// Edit control and string: load sets the whole text; save takes the whole text, any length.
void DDX_Text(CDataExchange* dx, int id, WString& value);
// Check box and integer: load first sets a value outside 0..2 to 0, then sets the check
// state; save takes the state (0 clear, 1 checked, 2 indeterminate).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Drop-down list and integer: load selects the item at that position (none when there is no
// such item); save takes the selected position, or -1 when none is selected.
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
// Radio group starting at control `id` and running up to the next control that starts a
// group; its radio buttons are numbered in template order. Load checks the button whose number
// is the value and clears the others; save sets -1, then the number of the checked button.
void DDX_Radio(CDataExchange* dx, int id, int& value);
