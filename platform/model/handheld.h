// The CE-only services of the handheld in one object: power manager with the WLAN adapter,
// kernel I/O control, idle timer and Bluetooth radio. The simulated device owns one; the
// Windows build keeps one for the process (Reset gives tests a fresh one).
#pragma once

#include <cstdint>

#include "platform/model/bluetooth_radio.h"
#include "platform/model/idle_timer.h"
#include "platform/model/io_control_log.h"
#include "platform/model/power_manager.h"
#include "platform/model/wlan_adapter.h"

namespace model {

class Handheld {
  public:
    Handheld() = default;
    Handheld(const Handheld&) = delete;
    Handheld& operator=(const Handheld&) = delete;

    // Back to the state of a device just booted: WLAN adapter off, no Bluetooth stack.
    void Reset();

    // KernelIoControl: logs the call and lets the owner of the code answer it. Unknown codes
    // fail with ERROR_NOT_SUPPORTED, as the kernel answers them.
    BOOL KernelIoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                         DWORD* bytesReturned, std::uint64_t now, DWORD* error);

    PowerManager power;
    WlanAdapter wlan{power};
    BluetoothRadio bluetooth;
    IdleTimer idle;
    IoControlLog ioControls;
};

} // namespace model
