// The handheld's one Bluetooth radio and the stack installed to drive it. With the Microsoft
// stack the radio is reached through the utility library's mode (0 off, 1 connectable,
// 2 discoverable); with the Widcomm stack through its console process, which the simulated
// device supplies; with none, nothing can switch it but the hardware itself.
#pragma once

#include "platform/platform.h"

namespace model {

enum class BluetoothStack { None, Microsoft, Widcomm };

class BluetoothRadio {
  public:
    static constexpr DWORD kModeOff = 0;
    static constexpr DWORD kModeConnectable = 1;
    static constexpr DWORD kModeDiscoverable = 2;

    void SetStack(BluetoothStack stack) { stack_ = stack; }
    BluetoothStack Stack() const { return stack_; }

    bool IsOn() const { return mode_ != kModeOff; }
    DWORD Mode() const { return mode_; }
    // Switches the radio from the stack's or the user's side. Switching on keeps a
    // discoverable radio discoverable.
    void SetOn(bool on);
    // Puts the radio into any mode (0 off, else on), for set-ups such as "on and discoverable".
    void SetRawMode(DWORD mode) { mode_ = mode; }

    // BthSetMode and BthGetMode: ERROR_SUCCESS, ERROR_INVALID_PARAMETER, or
    // ERROR_SERVICE_NOT_ACTIVE when the Microsoft stack is not the one installed.
    int LibrarySetMode(DWORD mode);
    int LibraryGetMode(DWORD* mode) const;

  private:
    BluetoothStack stack_ = BluetoothStack::None;
    DWORD mode_ = kModeOff;
};

} // namespace model
