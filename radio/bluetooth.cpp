// Bluetooth control through the installed stack: menu commands to the Widcomm console window
// (its state read back from "StackMode"), or the Microsoft utility library's mode.
#include "app/main_frame.h"
#include "settings/reg_key.h"

namespace {

constexpr LONG kWidcomm = 0;
constexpr LONG kMicrosoft = 1;
constexpr const WCHAR* kWidcommKey = TEXT("\\SOFTWARE\\Widcomm\\BtConfig\\General");
constexpr REGSAM kAllAccess = 0xF003F;

// The handle is not checked: with no console the message reaches no window.
void SendConsoleCommand(const WString& caption, LONG command) {
    HWND console = FindWindowW(nullptr, caption.c_str());
    SendMessageW(console, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

} // namespace

void CMainFrame::TurnBluetoothOn(int force) {
    if (force == 0 && IsBluetoothOn() != 0)
        return;
    if (BTControl == kWidcomm)
        SendConsoleCommand(ConsoleCaption, ConsoleOnCommand);
    else if (BTControl == kMicrosoft)
        BthSetMode(1);
}

void CMainFrame::TurnBluetoothOff(int force) {
    if (force == 0 && IsBluetoothOn() == 0)
        return;
    if (BTControl == kWidcomm)
        SendConsoleCommand(ConsoleCaption, ConsoleOffCommand);
    else if (BTControl == kMicrosoft)
        BthSetMode(0);
}

int CMainFrame::IsBluetoothOn() {
    if (BTControl == kWidcomm) {
        DWORD mode = 0;
        RegKey key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWidcommKey, 0, kAllAccess, key.Receive()) ==
            ERROR_SUCCESS) {
            DWORD type = 0;
            DWORD size = sizeof mode;
            // A value that does not fit four bytes, or any failed read, counts as off.
            if (RegQueryValueExW(key.Get(), TEXT("StackMode"), nullptr, &type,
                                 reinterpret_cast<LPBYTE>(&mode), &size) != ERROR_SUCCESS)
                mode = 0;
        }
        return mode == 1 ? 1 : 0;
    }
    if (BTControl == kMicrosoft) {
        DWORD mode = 0;
        // A call that delivers no mode reads as off.
        if (BthGetMode(&mode) != ERROR_SUCCESS)
            mode = 0;
        return mode != 0 ? 1 : 0;
    }
    return 0;
}
