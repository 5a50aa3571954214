// Windows' own `reg import` takes the .reg file that the simulated device saves
// (reg_forms.reg, kept equal to the device's output by a device test), and every value reads
// back through the Win32 registry calls with the type and bytes of the table.
//
// Usage: kipo_reg_import Z:\path\to\reg_forms.reg   (exit 0 when every value matches)
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

#include "tests/support/reg_forms.h"

// Windows itself is under test here, not the platform layer's Windows CE path rules.
#undef RegOpenKeyExW

namespace {

int failures = 0;

void Fail(const std::wstring& what) {
    std::fwprintf(stderr, L"FAILED: %ls\n", what.c_str());
    ++failures;
}

// Runs a command line and gives its exit code (or -1 when it cannot start).
long RunCommand(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// Wine's `reg import` ends string data written in hex (hex(1), hex(2)) with a terminator when
// the bytes lack one; the registry then holds two more zero bytes than the file.
std::vector<BYTE> Terminated(const regforms::Form& form) {
    std::vector<BYTE> data = form.data;
    const bool text = form.type == REG_SZ || form.type == REG_EXPAND_SZ;
    const bool ends = data.size() >= 2 && data[data.size() - 1] == 0 && data[data.size() - 2] == 0;
    if (text && !ends)
        data.insert(data.end(), 2, 0);
    return data;
}

void CheckForm(const regforms::Form& form) {
    std::wstring path = regforms::kKey;
    if (form.key[0] != 0)
        path += std::wstring(L"\\") + form.key;
    const std::wstring where = path + L" \"" + form.name + L"\"";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        Fail(where + L": key missing");
        return;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, form.name, nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    if (status == ERROR_SUCCESS && size > 0)
        status = RegQueryValueExW(key, form.name, nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        Fail(where + L": value missing (" + std::to_wstring(status) + L")");
    else if (type != form.type)
        Fail(where + L": type " + std::to_wstring(type) + L", expected " +
             std::to_wstring(form.type));
    else if (data != form.data && data != Terminated(form))
        Fail(where + L": " + std::to_wstring(data.size()) + L" bytes differ from the " +
             std::to_wstring(form.data.size()) + L" expected");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: kipo_reg_import FILE.reg\n");
        return 2;
    }
    std::wstring file = argv[1];
    for (wchar_t& c : file)
        c = c == L'/' ? L'\\' : c;
    RegDeleteTreeW(HKEY_CURRENT_USER, regforms::kKey);
    const long code = RunCommand(L"reg.exe import \"" + file + L"\"");
    if (code != 0)
        Fail(L"reg import " + file + L" exited with " + std::to_wstring(code));
    for (const regforms::Form& form : regforms::Forms())
        CheckForm(form);
    HKEY empty = nullptr;
    const std::wstring emptyPath = std::wstring(regforms::kKey) + L"\\" + regforms::kEmptyKey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, emptyPath.c_str(), 0, KEY_READ, &empty) == ERROR_SUCCESS)
        RegCloseKey(empty);
    else
        Fail(emptyPath + L": key missing");
    RegDeleteTreeW(HKEY_CURRENT_USER, regforms::kKey);
    std::fwprintf(stderr, L"%ls\n", failures == 0 ? L"every value read back" : L"mismatches");
    return failures == 0 ? 0 : 1;
}
