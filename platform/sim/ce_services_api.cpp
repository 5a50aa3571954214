// Power manager, kernel I/O control, idle timer and Bluetooth library of the simulated device
// (declared in platform/ce_services.h): thin Win32 entry points over the device model, each
// recorded in the trace.
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/sim/device.h"

namespace {

// Out-parameters show in the trace as "&value" so runs compare equal; null shows as NULL.
template <class T> std::string PointedValue(const T* pointer) {
    if (pointer == nullptr)
        return "NULL";
    std::string text = "&";
    text += sim::TraceArg(*pointer);
    return text;
}

// A buffer as its bytes in hex ("{01 00 00 00}"), at most 16 of them.
std::string BufferBytes(const void* buffer, DWORD size) {
    if (buffer == nullptr)
        return "NULL";
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    std::string text = "{";
    for (DWORD i = 0; i < size && i < 16; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", bytes[i]);
        if (i != 0)
            text += ' ';
        text += hex;
    }
    if (size > 16)
        text += " ...";
    text += '}';
    return text;
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(value));
    return text;
}

} // namespace

DWORD SetDevicePower(LPCWSTR device, DWORD flags, CEDEVICE_POWER_STATE state) {
    sim::Device& dev = sim::Dev();
    const DWORD result = dev.handheld.power.Set(device, flags, state);
    dev.trace.Call("SetDevicePower", result, device, flags, state);
    return result;
}

DWORD GetDevicePower(LPCWSTR device, DWORD flags, PCEDEVICE_POWER_STATE state) {
    sim::Device& dev = sim::Dev();
    const DWORD result = dev.handheld.power.Get(device, flags, state);
    dev.trace.Call("GetDevicePower", result, device, flags, PointedValue(state));
    return result;
}

BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuf, DWORD inBufSize, LPVOID outBuf,
                     DWORD outBufSize, LPDWORD bytesReturned) {
    sim::Device& dev = sim::Dev();
    // The trace shows the buffers as the caller handed them in.
    const std::string in = BufferBytes(inBuf, inBufSize);
    const std::string out = BufferBytes(outBuf, outBufSize);
    const std::string returned = PointedValue(bytesReturned);
    DWORD error = ERROR_SUCCESS;
    const BOOL result = dev.handheld.KernelIoControl(ioControlCode, inBuf, inBufSize, outBuf,
                                                     outBufSize, bytesReturned, dev.Now(), &error);
    if (!result)
        dev.SetLastErrorValue(error);
    dev.trace.Call("KernelIoControl", result, Hex(ioControlCode), in, inBufSize, out, outBufSize,
                   returned);
    return result;
}

void SystemIdleTimerReset() {
    sim::Device& dev = sim::Dev();
    dev.handheld.idle.Reset(dev.Now());
    dev.trace.VoidCall("SystemIdleTimerReset");
}

int BthSetMode(DWORD mode) {
    sim::Device& dev = sim::Dev();
    const int result = dev.handheld.bluetooth.LibrarySetMode(mode);
    dev.trace.Call("BthSetMode", result, mode);
    return result;
}

int BthGetMode(DWORD* mode) {
    sim::Device& dev = sim::Dev();
    const int result = dev.handheld.bluetooth.LibraryGetMode(mode);
    dev.trace.Call("BthGetMode", result, PointedValue(mode));
    return result;
}
