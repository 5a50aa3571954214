// FreshDevice on Windows (under Wine): the registry and windows are the system's own, so a
// fresh device means the keys tests write are gone before and after each test.
//
// Open handles are measured as the growth, since the test began, of the process's open
// registry keys and events, the kernel handles the program opens: one it forgets to close
// shows up. The system opens a few of its own on first use (the predefined registry roots,
// the directory of named objects, the thread's message queue); they are opened here before
// the count is taken, so that they are not blamed on the test.
//
// The count comes from the system's handle table, which also tells each handle's type (Wine's
// GetProcessHandleCount always answers 0); the process's whole handle count is the fallback
// where that table cannot be read.
#include "tests/support/fresh_device.h"

#include "platform/win32/handheld_win32.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace {

struct ScratchKey {
    HKEY root;
    LPCWSTR path;
    bool systemWide; // only deleted under Wine, never on a real machine
};

// Every key a test may create.
const ScratchKey kScratchKeys[] = {
    {HKEY_CURRENT_USER, L"Software\\Kipo", false},
    {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Widcomm", true},
};

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void DeleteScratchKeys() {
    const bool wine = RunningUnderWine();
    for (const ScratchKey& key : kScratchKeys) {
        if (key.systemWide && !wine)
            continue;
        LONG result = RegDeleteTreeW(key.root, key.path);
        if (result == ERROR_SUCCESS)
            result = RegDeleteKeyW(key.root, key.path);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            std::fprintf(stderr, "FreshDevice: cannot delete %ls (error %ld)\n", key.path,
                         static_cast<long>(result));
    }
}

// Opens what the system keeps open once used, so the baseline count already includes it.
void WarmUp() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegCloseKey(key);
    // The first named object opens the directory of named objects, and keeps it.
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, L"KipoFreshDeviceWarmUp");
    if (event != nullptr)
        CloseHandle(event);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    GetForegroundWindow();
}

// One row of the system's handle table (the extended form, with full process ids).
struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};
constexpr ULONG kExtendedHandleInformation = 64;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

struct OwnHandle {
    ULONG_PTR value;
    USHORT type;
};

// This process's rows of the system's handle table; false when the table cannot be read.
bool OwnHandles(std::vector<OwnHandle>* out) {
    out->clear();
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr)
        return false;
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
    if (query == nullptr)
        return false;
    std::vector<BYTE> buffer(64 * 1024);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(kExtendedHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status != 0 || buffer.size() < offsetof(HandleTable, entries))
            return false;
        const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
        const std::size_t room =
            (buffer.size() - offsetof(HandleTable, entries)) / sizeof(HandleEntry);
        const std::size_t rows = std::min<std::size_t>(table->count, room);
        const ULONG_PTR self = GetCurrentProcessId();
        for (std::size_t i = 0; i < rows; ++i)
            if (table->entries[i].processId == self)
                out->push_back({table->entries[i].handleValue, table->entries[i].objectTypeIndex});
        return true;
    }
    return false;
}

// The object types the program opens, as the handle table numbers them.
struct Kinds {
    int key = -1;
    int event = -1;
    bool Known() const { return key >= 0 && event >= 0; }
};

int TypeOf(const std::vector<OwnHandle>& handles, const void* handle) {
    for (const OwnHandle& row : handles)
        if (row.value == reinterpret_cast<ULONG_PTR>(handle))
            return row.type;
    return -1;
}

// Learnt from one key and one event opened for the purpose.
Kinds LearnKinds() {
    Kinds kinds;
    HKEY key = nullptr;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<OwnHandle> handles;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS &&
        event != nullptr && OwnHandles(&handles)) {
        kinds.key = TypeOf(handles, key);
        kinds.event = TypeOf(handles, event);
    }
    if (key != nullptr)
        RegCloseKey(key);
    if (event != nullptr)
        CloseHandle(event);
    return kinds;
}

// Open keys and events of this process. Other handles (threads GoogleTest watches, the
// system's own) are not the program's and are left out. Falls back to all handles.
int KeyAndEventHandles(const Kinds& kinds) {
    std::vector<OwnHandle> handles;
    if (kinds.Known() && OwnHandles(&handles)) {
        int count = 0;
        for (const OwnHandle& row : handles)
            if (row.type == kinds.key || row.type == kinds.event)
                ++count;
        return count;
    }
    DWORD count = 0;
    if (!GetProcessHandleCount(GetCurrentProcess(), &count))
        return -1;
    return static_cast<int>(count);
}

} // namespace

struct FreshDevice::Impl {
    Kinds kinds;
    int baseline = 0;
};

FreshDevice::FreshDevice() : impl_(new Impl) {
    win32::Handheld().Reset();
    DeleteScratchKeys();
    WarmUp();
    impl_->kinds = LearnKinds();
    impl_->baseline = KeyAndEventHandles(impl_->kinds);
}

FreshDevice::~FreshDevice() {
    DeleteScratchKeys();
    delete impl_;
}

int FreshDevice::OpenHandles() const {
    return KeyAndEventHandles(impl_->kinds) - impl_->baseline;
}

// The executable path is the real one on Windows.
bool FreshDevice::SetProgramPath(const WString&) {
    return false;
}

model::Handheld& FreshDevice::Handheld() {
    return win32::Handheld();
}
