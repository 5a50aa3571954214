// The owner the framework gives a modal window (a dialog or the standard message box) that
// names none: the last active popup of the application's main window, so that a box shown
// while the settings dialog runs is owned by that dialog, and the modal run (DialogBoxParamW,
// MessageBoxW) disables it meanwhile. The main window itself, when it is enabled and is not
// that owner, is disabled for the run as well and enabled again after it.
#pragma once

#include "platform/platform.h"

class CWnd;

class SafeOwner {
  public:
    // A window given is the owner as it is.
    explicit SafeOwner(const CWnd* given = nullptr);
    ~SafeOwner();
    SafeOwner(const SafeOwner&) = delete;
    SafeOwner& operator=(const SafeOwner&) = delete;

    // NULL when the application has no main window.
    HWND Get() const { return owner_; }

  private:
    HWND owner_ = nullptr;
    HWND disabledTop_ = nullptr;
};
