// Windows CE's single entry point for changing an event, on Windows. The events are Windows'
// own; the device model's WLAN software learns of the named ones it listens to, as it would by
// waiting on them, and takes the signal of an auto-reset event it was waiting for.
#include <string>

#include "platform/platform.h"
#include "platform/win32/handheld_win32.h"

namespace {

struct CountedString { // UNICODE_STRING
    USHORT length;
    USHORT maximumLength;
    PWSTR buffer;
};
struct EventBasicInformation {
    int eventType; // 0 manual reset, 1 auto reset
    LONG eventState;
};
using QueryObject = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
using QueryEvent = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
constexpr int kObjectNameInformation = 1;
constexpr int kEventBasicInformation = 0;

FARPROC NtFunction(const char* name) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr ? nullptr : GetProcAddress(ntdll, name);
}

// The event's name without its namespace ("\BaseNamedObjects\..."), or empty.
WString EventName(HANDLE event) {
    auto query =
        reinterpret_cast<QueryObject>(reinterpret_cast<void*>(NtFunction("NtQueryObject")));
    if (query == nullptr)
        return {};
    alignas(CountedString) BYTE buffer[1024];
    ULONG needed = 0;
    if (query(event, kObjectNameInformation, buffer, sizeof buffer, &needed) != 0)
        return {};
    const auto* name = reinterpret_cast<const CountedString*>(buffer);
    if (name->buffer == nullptr || name->length == 0)
        return {};
    WString full(name->buffer, name->length / sizeof(WCHAR));
    const std::size_t slash = full.rfind(L'\\');
    return slash == WString::npos ? full : full.substr(slash + 1);
}

bool IsAutoReset(HANDLE event) {
    auto query = reinterpret_cast<QueryEvent>(reinterpret_cast<void*>(NtFunction("NtQueryEvent")));
    EventBasicInformation info = {};
    ULONG needed = 0;
    return query != nullptr &&
           query(event, kEventBasicInformation, &info, sizeof info, &needed) == 0 &&
           info.eventType == 1;
}

} // namespace

BOOL EventModify(HANDLE event, DWORD func) {
    switch (func) {
    case EVENT_SET:
    case EVENT_PULSE: {
        const BOOL result = func == EVENT_SET ? SetEvent(event) : PulseEvent(event);
        if (!result)
            return FALSE;
        const WString name = EventName(event);
        const bool taken = !name.empty() && win32::Handheld().wlan.OnEventSignalled(name);
        // The model's software is the waiter an auto-reset event releases: it falls back.
        if (taken && func == EVENT_SET && IsAutoReset(event))
            WaitForSingleObject(event, 0);
        return TRUE;
    }
    case EVENT_RESET: {
        if (!ResetEvent(event))
            return FALSE;
        const WString name = EventName(event);
        if (!name.empty())
            win32::Handheld().wlan.OnEventReset(name);
        return TRUE;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
