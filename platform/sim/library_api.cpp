// Loading libraries by name and finding their exports; every loaded library is an open handle
// of the loading process until FreeLibrary.
#include <string>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "platform/sim/trace_arg.h"

using sim::Dev;

using sim::P;

namespace {

// Export names are ASCII; anything else names no export.
bool AsciiName(LPCWSTR name, std::string& out) {
    for (LPCWSTR p = name; *p != 0; ++p) {
        if (*p > 0x7F)
            return false;
        out.push_back(static_cast<char>(*p));
    }
    return true;
}

} // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
    sim::Device& device = Dev();
    HMODULE result = nullptr;
    if (fileName == nullptr || fileName[0] == 0) {
        device.SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else if ((result = sim::Libraries::ModuleNamed(fileName)) == nullptr) {
        device.SetLastErrorValue(ERROR_MOD_NOT_FOUND);
    } else {
        device.libraries.Load(result, device.CurrentProcess());
        device.HandleOpened(sim::HandleKind::Library, device.CurrentProcess());
    }
    device.trace.Call("LoadLibraryW", P(result), fileName);
    return result;
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
    sim::Device& device = Dev();
    FARPROC result = nullptr;
    std::string name;
    if (procName == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else if (device.libraries.References(module, device.CurrentProcess()) == 0) {
        device.SetLastErrorValue(ERROR_INVALID_HANDLE);
    } else if (IS_INTRESOURCE(procName) || !AsciiName(procName, name) ||
               (result = device.libraries.Export(module, name)) == nullptr) {
        device.SetLastErrorValue(ERROR_PROC_NOT_FOUND);
    }
    device.trace.Call(
        "GetProcAddressW", P(reinterpret_cast<const void*>(reinterpret_cast<ULONG_PTR>(result))),
        P(module),
        procName != nullptr && IS_INTRESOURCE(procName)
            ? sim::TraceArg(static_cast<unsigned>(LOWORD(reinterpret_cast<ULONG_PTR>(procName))))
            : sim::TraceArg(procName));
    return result;
}

BOOL FreeLibrary(HMODULE module) {
    sim::Device& device = Dev();
    const BOOL result = device.libraries.Free(module, device.CurrentProcess()) ? TRUE : FALSE;
    if (result)
        device.HandleClosed(sim::HandleKind::Library, device.CurrentProcess());
    else
        device.SetLastErrorValue(ERROR_INVALID_HANDLE);
    device.trace.Call("FreeLibrary", result, P(module));
    return result;
}
