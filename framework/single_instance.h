// One instance per program file: a start that finds the frame window of a running instance
// brings that window to the foreground and ends without a frame, timer or icon of its own.
#pragma once

#include "platform/text.h"

class SingleInstance {
  public:
    SingleInstance();

    // The running instance's frame, or null.
    HWND Other() const { return other_; }
    // Makes the other instance's frame the foreground window.
    void ActivateOther() const;

  private:
    HWND other_ = nullptr;
};
