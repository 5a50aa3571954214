// Dialog boxes of the simulated device: windows of the system dialog class "#32770" made from
// a template, with their controls, the dialog procedure, the modal run and message boxes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/sim/controls.h"
#include "platform/sim/dialog_units.h"

namespace sim {

inline constexpr const WCHAR* kDialogClass = TEXT("#32770");

struct DialogRecord {
    HWND window = nullptr;
    int process = 0;
    std::uint64_t serial = 0; // creation order
    DLGPROC proc = nullptr;
    const res::Dialog* source = nullptr; // the template it was made from
    BaseUnits units;
    std::vector<HWND> controls; // template order, which is also the tab order
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    HWND disabledOwner = nullptr; // the owner a modal run disabled, enabled again at its end
    HWND savedFocus = nullptr;    // the control given the focus at creation or held at deactivation
    int defaultId = 0;            // DM_SETDEFID; 0: the template's default push button
    // The OK button in the caption (WS_EX_CAPTIONOKBTN, or SHInitDialog's Done button).
    bool captionOk = false;
    DWORD shellFlags = 0; // SHInitDialog's flags; 0 when it was not called
    bool shellInit = false;
    // Message boxes: the text and type they were asked for.
    bool messageBox = false;
    WString text;
    UINT type = 0;
};

class Dialogs {
  public:
    // Creates a dialog as the current process: the window, every control in template order
    // (hidden ones without WS_VISIBLE), WM_INITDIALOG, then the showing. Null when a control's
    // class is unknown (unless DS_NOFAILCREATE) or the window cannot be made.
    HWND Create(const res::Dialog& dialogTemplate, HINSTANCE instance, HWND parent, DLGPROC proc,
                LPARAM initParam, bool modal);
    // The modal run: shows the dialog if WM_INITDIALOG left it hidden, disables the owner, and
    // runs the dialog's own message loop until EndDialog or WM_QUIT (passed on outward). The
    // dialog is destroyed; the EndDialog result is returned (0 when WM_QUIT came first).
    INT_PTR RunModal(HWND dialog);
    bool End(HWND dialog, INT_PTR result);

    DialogRecord* Find(HWND dialog);
    const DialogRecord* Find(HWND dialog) const;
    void Remove(HWND dialog);
    // Open dialogs (message boxes included), oldest first.
    std::vector<const DialogRecord*> Open() const;
    // The newest open dialog of `process` (message boxes included), or null.
    HWND Newest(int process) const;
    // The first tab stop after `from` (null: the first), visible and enabled, wrapping round.
    HWND NextTabItem(HWND dialog, HWND from, bool backward = false) const;
    // The control a new dialog gives the focus to: the first tab stop, or else the first
    // visible, enabled control; null when there is none.
    HWND InitialFocus(HWND dialog) const;
    // The dialog's own handling of keyboard and focus for a message of it or its controls.
    bool PreTranslate(HWND dialog, MSG& msg);

    Controls controls;

  private:
    std::vector<std::unique_ptr<DialogRecord>> records_;
    std::uint64_t nextSerial_ = 1;
};

// The window procedure of "#32770": the dialog procedure first, then the system's default.
LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Registers "#32770" for every process.
void RegisterDialogClass();

} // namespace sim
