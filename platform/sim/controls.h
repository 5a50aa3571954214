// The system control classes of the simulated device: static, edit, button (push, default,
// check box, radio button, group box), drop-down list, and the shell's input-panel control.
// Text lives in the window's caption; the rest of a control's state lives here.
#pragma once

#include <map>
#include <vector>

#include "platform/platform.h"

namespace sim {

enum class ControlKind { Static, Edit, Button, ComboBox, SipPref, Other };

struct ControlState {
    ControlKind kind = ControlKind::Other;
    UINT check = BST_UNCHECKED; // buttons
    std::vector<WString> items; // combo boxes
    int selection = -1;         // combo boxes: -1 none
    int droppedHeight = 0;      // combo boxes: the template height, opened list included
    DWORD limit = 0x7FFFFFFE;   // edits: what the user may type
    HICON icon = nullptr;       // icon statics
    WString pending;            // edits: text the user is typing (device side)
};

// Messages the simulated user's input arrives as: posted to the control, so the program's
// loop handles them as it handles real input.
#define SIM_USER_TYPE (WM_USER + 0x3E0)   // edit: the pending text becomes its whole text
#define SIM_USER_SELECT (WM_USER + 0x3E1) // combo box: select item wParam, notify the parent

class Controls {
  public:
    // Registers the system classes ("STATIC", "EDIT", "BUTTON", "COMBOBOX") for every process.
    static void RegisterSystemClasses();
    // The input-panel control ("SIPPREF") for the current process, as SHInitExtraControls does.
    static void RegisterExtraControls();

    ControlState* Find(HWND control);
    const ControlState* Find(HWND control) const;
    ControlState& Add(HWND control, ControlKind kind);
    void Remove(HWND control) { states_.erase(control); }

  private:
    std::map<HWND, ControlState> states_;
};

// Type of a button from its style: BS_PUSHBUTTON, BS_AUTOCHECKBOX, ...
inline DWORD ButtonType(DWORD style) {
    return style & BS_TYPEMASK;
}
bool IsCheckBox(DWORD style);
bool IsRadioButton(DWORD style);

} // namespace sim
