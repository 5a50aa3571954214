// The registry calls of the simulated device, with Win32 return codes. Each is traced with
// its arguments; out-parameters appear as "->value", buffers as "buf" (never an address, so
// a trace is the same on every run).
#include <cstdio>

#include "platform/platform.h"
#include "platform/sim/device.h"

namespace sim {

namespace {

std::string Hex(ULONG_PTR value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(value));
    return buf;
}

std::string KeyText(HKEY key) {
    if (key == nullptr)
        return "NULL";
    if (key == HKEY_CURRENT_USER)
        return "HKCU";
    if (key == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (key == HKEY_CLASSES_ROOT)
        return "HKCR";
    if (key == HKEY_USERS)
        return "HKU";
    return Hex(reinterpret_cast<ULONG_PTR>(key));
}

// Trace arguments, formatted only when the trace records.
struct KeyArg {
    HKEY key;
};
struct OutKeyArg {
    const HKEY* key;
};
struct HexArg {
    DWORD value;
};
struct OutDwordArg {
    const DWORD* value;
    bool written; // false: the call failed before writing it
};
struct BufArg {
    const void* pointer;
};
struct SizeArg {
    DWORD before;
    const DWORD* size;
};
struct DataArg {
    DWORD type;
    const BYTE* data;
    DWORD size;
};

std::string TraceArg(const KeyArg& arg) {
    return KeyText(arg.key);
}
std::string TraceArg(const OutKeyArg& arg) {
    return arg.key == nullptr ? "NULL" : "->" + KeyText(*arg.key);
}
std::string TraceArg(const HexArg& arg) {
    return Hex(arg.value);
}
std::string TraceArg(const OutDwordArg& arg) {
    if (arg.value == nullptr)
        return "NULL";
    return arg.written ? "->" + std::to_string(*arg.value) : "->?";
}
std::string TraceArg(const BufArg& arg) {
    return arg.pointer == nullptr ? "NULL" : "buf";
}
std::string TraceArg(const SizeArg& arg) {
    if (arg.size == nullptr)
        return "NULL";
    return std::to_string(arg.before) + "->" + std::to_string(*arg.size);
}

// A short, readable picture of the data being written.
std::string TraceArg(const DataArg& arg) {
    if (arg.data == nullptr)
        return "NULL";
    if ((arg.type == REG_SZ || arg.type == REG_EXPAND_SZ) && arg.size % 2 == 0) {
        WString text;
        for (DWORD i = 0; i + 1 < arg.size && text.size() < 60; i += 2) {
            const WCHAR unit = static_cast<WCHAR>(arg.data[i] | (arg.data[i + 1] << 8));
            if (unit == 0)
                break;
            text.push_back(unit);
        }
        return sim::TraceArg(text.c_str());
    }
    if (arg.type == REG_DWORD && arg.size == 4)
        return std::to_string(static_cast<DWORD>(arg.data[0] | (arg.data[1] << 8) |
                                                 (arg.data[2] << 16) |
                                                 (static_cast<DWORD>(arg.data[3]) << 24)));
    std::string text = "[";
    for (DWORD i = 0; i < arg.size && i < 16; ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%s%02x", i == 0 ? "" : " ", arg.data[i]);
        text += buf;
    }
    return text + (arg.size > 16 ? " ...]" : "]");
}

void Opened(Device& device) {
    device.HandleOpened(HandleKind::RegistryKey, device.CurrentProcess());
}

} // namespace

} // namespace sim

using sim::BufArg;
using sim::DataArg;
using sim::HexArg;
using sim::KeyArg;
using sim::OutDwordArg;
using sim::OutKeyArg;
using sim::SizeArg;

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    sim::Device& device = sim::Dev();
    LONG status = ERROR_INVALID_PARAMETER;
    if (result != nullptr) {
        *result = nullptr;
        status = device.faults.registryOpen
                     ? ERROR_ACCESS_DENIED
                     : device.registry.OpenKey(key, subKey, device.CurrentProcess(), result);
        if (status == ERROR_SUCCESS)
            sim::Opened(device);
    }
    device.trace.Call("RegOpenKeyExW", status, KeyArg{key}, subKey, options, HexArg{access},
                      OutKeyArg{result});
    return status;
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                     LPDWORD disposition) {
    sim::Device& device = sim::Dev();
    LONG status = ERROR_INVALID_PARAMETER;
    if (result != nullptr) {
        *result = nullptr;
        status = device.faults.registryCreate
                     ? ERROR_ACCESS_DENIED
                     : device.registry.CreateKey(key, subKey, (options & REG_OPTION_VOLATILE) != 0,
                                                 device.CurrentProcess(), result, disposition);
        if (status == ERROR_SUCCESS)
            sim::Opened(device);
    }
    device.trace.Call("RegCreateKeyExW", status, KeyArg{key}, subKey, reserved,
                      static_cast<const WCHAR*>(keyClass), options, HexArg{access},
                      BufArg{security}, OutKeyArg{result},
                      OutDwordArg{disposition, status == ERROR_SUCCESS});
    return status;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD dataSize) {
    sim::Device& device = sim::Dev();
    const DWORD sizeBefore = dataSize == nullptr ? 0 : *dataSize;
    LONG status = ERROR_INVALID_PARAMETER;
    if (reserved == nullptr)
        status = device.registry.QueryValue(key, valueName, device.CurrentProcess(), type, data,
                                            dataSize);
    const bool typeSet = status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
    device.trace.Call("RegQueryValueExW", status, KeyArg{key}, valueName, BufArg{reserved},
                      OutDwordArg{type, typeSet}, BufArg{data}, SizeArg{sizeBefore, dataSize});
    return status;
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD dataSize) {
    sim::Device& device = sim::Dev();
    const LONG status = device.faults.registryWrite
                            ? ERROR_ACCESS_DENIED
                            : device.registry.SetValue(key, valueName, device.CurrentProcess(),
                                                       type, data, dataSize);
    device.trace.Call("RegSetValueExW", status, KeyArg{key}, valueName, reserved, type,
                      DataArg{type, data, dataSize}, dataSize);
    return status;
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    sim::Device& device = sim::Dev();
    const LONG status = device.registry.DeleteValue(key, valueName, device.CurrentProcess());
    device.trace.Call("RegDeleteValueW", status, KeyArg{key}, valueName);
    return status;
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    sim::Device& device = sim::Dev();
    const LONG status = device.registry.DeleteKey(key, subKey, device.CurrentProcess());
    device.trace.Call("RegDeleteKeyW", status, KeyArg{key}, subKey);
    return status;
}

LONG RegCloseKey(HKEY key) {
    sim::Device& device = sim::Dev();
    const LONG status = device.registry.CloseKey(key, device.CurrentProcess());
    if (status == ERROR_SUCCESS && !sim::Registry::IsPredefined(key))
        device.HandleClosed(sim::HandleKind::RegistryKey, device.CurrentProcess());
    device.trace.Call("RegCloseKey", status, KeyArg{key});
    return status;
}
