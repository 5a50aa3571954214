// Module names of the simulated device: each process has one module, its executable, whose
// path is a device setting (Process::exePath).
#include "platform/platform.h"
#include "platform/sim/device.h"
#include "platform/sim/libraries.h"

namespace {

// Where Windows CE loads every executable.
const HMODULE kExeModule = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x10000));

} // namespace

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    sim::Device& device = sim::Dev();
    const WString& path = device.ProcessById(device.CurrentProcess()).exePath;
    DWORD result = 0;
    if (module != nullptr && module != kExeModule) {
        device.SetLastErrorValue(ERROR_MOD_NOT_FOUND);
    } else if (fileName == nullptr && size > 0) {
        device.SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else if (size == 0) {
        device.SetLastErrorValue(ERROR_INSUFFICIENT_BUFFER);
    } else if (path.size() < size) {
        path.copy(fileName, path.size());
        fileName[path.size()] = 0;
        result = static_cast<DWORD>(path.size());
    } else {
        // Too small: as current Windows, the first size - 1 characters and a NUL, the
        // result is `size` and the error says so.
        path.copy(fileName, size - 1);
        fileName[size - 1] = 0;
        result = size;
        device.SetLastErrorValue(ERROR_INSUFFICIENT_BUFFER);
    }
    device.trace.Call("GetModuleFileNameW", result, static_cast<const void*>(module),
                      result == 0 ? nullptr : static_cast<const WCHAR*>(fileName), size);
    return result;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    sim::Device& device = sim::Dev();
    HMODULE result = nullptr;
    if (moduleName == nullptr) {
        result = kExeModule;
    } else {
        const WString& path = device.ProcessById(device.CurrentProcess()).exePath;
        const WString wanted(moduleName);
        const WString wantedName = sim::FileNamePart(wanted);
        if (sim::Registry::SameName(wanted, path) ||
            (wanted == wantedName && sim::Registry::SameName(wantedName, sim::FileNamePart(path))))
            result = kExeModule;
        else
            device.SetLastErrorValue(ERROR_MOD_NOT_FOUND);
    }
    device.trace.Call("GetModuleHandleW", static_cast<const void*>(result), moduleName);
    return result;
}
