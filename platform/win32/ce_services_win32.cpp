// Power manager, kernel I/O control, idle timer and Bluetooth library on Windows: desktop
// Windows has none of them, so they answer from the same device model as the simulated
// device's, on real time.
#include "platform/platform.h"
#include "platform/win32/handheld_win32.h"

namespace win32 {

model::Handheld& Handheld() {
    static model::Handheld handheld;
    return handheld;
}

} // namespace win32

DWORD SetDevicePower(LPCWSTR device, DWORD flags, CEDEVICE_POWER_STATE state) {
    return win32::Handheld().power.Set(device, flags, state);
}

DWORD GetDevicePower(LPCWSTR device, DWORD flags, PCEDEVICE_POWER_STATE state) {
    return win32::Handheld().power.Get(device, flags, state);
}

BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuf, DWORD inBufSize, LPVOID outBuf,
                     DWORD outBufSize, LPDWORD bytesReturned) {
    DWORD error = ERROR_SUCCESS;
    const BOOL result =
        win32::Handheld().KernelIoControl(ioControlCode, inBuf, inBufSize, outBuf, outBufSize,
                                          bytesReturned, GetTickCount64(), &error);
    if (!result)
        SetLastError(error);
    return result;
}

void SystemIdleTimerReset() {
    win32::Handheld().idle.Reset(GetTickCount64());
}

int BthSetMode(DWORD mode) {
    return win32::Handheld().bluetooth.LibrarySetMode(mode);
}

int BthGetMode(DWORD* mode) {
    return win32::Handheld().bluetooth.LibraryGetMode(mode);
}
