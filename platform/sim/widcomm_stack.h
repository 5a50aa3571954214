// The Widcomm Bluetooth stack as a program of its own on the simulated device: a process with
// a hidden top-level "Bluetooth Console" window that obeys the console's menu commands, and
// the "StackMode" value it keeps under HKLM (1 while the radio is on, 0 when it is off).
#pragma once

#include "platform/platform.h"

namespace sim {

class Device;

class WidcommStack {
  public:
    static constexpr const WCHAR* kConsoleCaption = TEXT("Bluetooth Console");
    static constexpr const WCHAR* kConsoleClass = TEXT("WidcommBtConsole");
    static constexpr const WCHAR* kKeyPath = TEXT("SOFTWARE\\Widcomm\\BtConfig\\General");
    static constexpr const WCHAR* kStackModeValue = TEXT("StackMode");
    static constexpr const WCHAR* kExePath = TEXT("\\Windows\\BtConsole.exe");
    static constexpr WORD kOnCommand = 4098;
    static constexpr WORD kOffCommand = 4097;

    // Starts the stack's process and console window, with the radio on or off.
    void Install(Device& device, bool radioOn);
    bool Installed() const { return process_ != 0; }
    int Process() const { return process_; }
    HWND Console() const { return console_; }
    // The console window goes away; the stack's process and its registry value remain.
    void CloseConsole(Device& device);

    // Switches the radio as the stack does (radio and "StackMode" together).
    void SwitchRadio(Device& device, bool on);

    // Console commands the window has obeyed, and other commands it has seen.
    int OnCommands() const { return onCommands_; }
    int OffCommands() const { return offCommands_; }
    int OtherCommands() const { return otherCommands_; }

  private:
    static LRESULT CALLBACK ConsoleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void WriteStackMode(Device& device, DWORD value);

    int process_ = 0;
    HWND console_ = nullptr;
    int onCommands_ = 0;
    int offCommands_ = 0;
    int otherCommands_ = 0;
};

} // namespace sim
