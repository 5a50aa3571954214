#include "platform/sim/widcomm_stack.h"

#include "platform/sim/device.h"

namespace sim {

void WidcommStack::Install(Device& device, bool radioOn) {
    if (process_ == 0)
        process_ = device.CreateProcess(kExePath);
    device.handheld.bluetooth.SetStack(model::BluetoothStack::Widcomm);
    Device::ProcessScope scope(device, process_);
    if (console_ == nullptr) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &WidcommStack::ConsoleProc;
        wc.lpszClassName = kConsoleClass;
        RegisterClassW(&wc);
        // Hidden, as the stack keeps it: found by caption, never in the foreground.
        console_ = CreateWindowExW(0, kConsoleClass, kConsoleCaption, WS_OVERLAPPED, 0, 0, 0, 0,
                                   nullptr, nullptr, nullptr, nullptr);
    }
    SwitchRadio(device, radioOn);
}

void WidcommStack::CloseConsole(Device& device) {
    if (console_ == nullptr)
        return;
    Device::ProcessScope scope(device, process_);
    DestroyWindow(console_);
    console_ = nullptr;
}

void WidcommStack::SwitchRadio(Device& device, bool on) {
    device.handheld.bluetooth.SetOn(on);
    WriteStackMode(device, on ? 1 : 0);
}

void WidcommStack::WriteStackMode(Device& device, DWORD value) {
    Device::ProcessScope scope(device, process_);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(key, kStackModeValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
}

LRESULT CALLBACK WidcommStack::ConsoleProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message != WM_COMMAND)
        return DefWindowProcW(window, message, wParam, lParam);
    Device& device = Dev();
    WidcommStack& stack = device.widcomm;
    // Menu commands arrive with high word 0; the console looks at the identifier only.
    switch (LOWORD(wParam)) {
    case kOnCommand:
        ++stack.onCommands_;
        stack.SwitchRadio(device, true);
        break;
    case kOffCommand:
        ++stack.offCommands_;
        stack.SwitchRadio(device, false);
        break;
    default:
        ++stack.otherCommands_;
        break;
    }
    return 0;
}

} // namespace sim
