// FreshDevice on Windows (under Wine): the registry and windows are the system's own, so a
// fresh device means the keys tests write are gone before and after each test.
//
// Open handles are measured as the growth of the process's kernel handle count since the
// test began. Registry keys and events are kernel handles, so a key or event the program
// forgets to close shows up. The system opens a few handles of its own on first use (the
// predefined registry roots, the thread's message queue); they are opened here before the
// count is taken, so that they are not blamed on the test.
#include "tests/support/fresh_device.h"

#include <cstdio>

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
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    GetForegroundWindow();
}

int ProcessHandleCount() {
    DWORD count = 0;
    if (!GetProcessHandleCount(GetCurrentProcess(), &count))
        return -1;
    return static_cast<int>(count);
}

} // namespace

struct FreshDevice::Impl {
    int baseline = 0;
};

FreshDevice::FreshDevice() : impl_(new Impl) {
    DeleteScratchKeys();
    WarmUp();
    impl_->baseline = ProcessHandleCount();
}

FreshDevice::~FreshDevice() {
    DeleteScratchKeys();
    delete impl_;
}

int FreshDevice::OpenHandles() const {
    return ProcessHandleCount() - impl_->baseline;
}

// The executable path is the real one on Windows.
bool FreshDevice::SetProgramPath(const WString&) {
    return false;
}
