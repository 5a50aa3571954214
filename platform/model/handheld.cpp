#include "platform/model/handheld.h"

namespace model {

void Handheld::Reset() {
    power = PowerManager();
    wlan.SetUp(WlanSetUp::Off);
    bluetooth = BluetoothRadio();
    idle = IdleTimer();
    ioControls.Clear();
}

BOOL Handheld::KernelIoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                               DWORD* bytesReturned, std::uint64_t now, DWORD* error) {
    const std::size_t index = ioControls.Begin(code, in, inSize, out, outSize, bytesReturned, now);
    BOOL result = FALSE;
    if (WlanAdapter::OwnsIoControl(code))
        result = wlan.IoControl(code, in, inSize, out, outSize, bytesReturned, error);
    else
        *error = ERROR_NOT_SUPPORTED;
    ioControls.Finish(index, out, bytesReturned, result, result ? ERROR_SUCCESS : *error);
    return result;
}

} // namespace model
