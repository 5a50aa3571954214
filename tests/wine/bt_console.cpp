// The Widcomm stack's console, as a program of its own for the tests under Wine: a hidden
// top-level window captioned "Bluetooth Console" that obeys the console's two menu commands by
// switching its radio and keeping "StackMode" under HKLM, as the stack does.
//
//   kipo_bt_console on|off|none    the radio's state at start ("none": no value is written)
//
// Tests ask it how many commands it obeyed with WM_APP (on), WM_APP + 1 (off) and WM_APP + 2
// (any other command); WM_CLOSE ends it.
#include <windows.h>

#include <string>

namespace {

constexpr WORD kOnCommand = 4098;
constexpr WORD kOffCommand = 4097;
const wchar_t kGeneral[] = L"SOFTWARE\\Widcomm\\BtConfig\\General";

LRESULT g_on = 0;
LRESULT g_off = 0;
LRESULT g_other = 0;

void WriteStackMode(DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGeneral, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"StackMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
}

LRESULT CALLBACK ConsoleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // Menu commands come with high word 0; the console looks at the identifier only.
        if (LOWORD(wParam) == kOnCommand) {
            ++g_on;
            WriteStackMode(1);
        } else if (LOWORD(wParam) == kOffCommand) {
            ++g_off;
            WriteStackMode(0);
        } else {
            ++g_other;
        }
        return 0;
    case WM_APP:
        return g_on;
    case WM_APP + 1:
        return g_off;
    case WM_APP + 2:
        return g_other;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring start = argc > 1 ? argv[1] : L"none";
    if (start == L"on")
        WriteStackMode(1);
    else if (start == L"off")
        WriteStackMode(0);
    else if (start != L"none")
        return 2;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ConsoleProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KipoWineBtConsole";
    if (RegisterClassW(&wc) == 0)
        return 1;
    // Hidden, as the stack keeps it: found by caption only.
    HWND console = CreateWindowExW(0, wc.lpszClassName, L"Bluetooth Console", WS_OVERLAPPED, 0, 0,
                                   0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (console == nullptr)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
