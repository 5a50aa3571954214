// The simulated Pocket PC. One Device is "current" at a time; the Win32 names of sim/ act on
// it. Tests make a fresh Device per test; constructing one makes it current.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/model/handheld.h"
#include "platform/platform.h"
#include "platform/sim/events.h"
#include "platform/sim/registry.h"
#include "platform/sim/scheduler.h"
#include "platform/sim/trace.h"
#include "platform/sim/window_manager.h"
#include "platform/sim/widcomm_stack.h"

namespace sim {

enum class HandleKind { RegistryKey, Event, Library };
constexpr int kHandleKinds = 3;
const char* HandleKindName(HandleKind kind);

struct Process {
    int id = 0;
    WString exePath; // full module path, as GetModuleFileNameW reports it
    bool running = true;
    int handles[kHandleKinds] = {};
};

// Process ids fixed at boot.
constexpr int kShellProcess = 1;   // the shell: Today screen, taskbar
constexpr int kProgramProcess = 2; // the program under test

class Device {
public:
    Device();
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The current device; aborts with a message when there is none.
    static Device& Current();
    static Device* CurrentOrNull();

    // Virtual clock, in milliseconds since boot.
    std::uint64_t Now() const { return now_; }
    void SetNow(std::uint64_t now);

    // Processes. Platform calls are made on behalf of the current process.
    int CurrentProcess() const { return currentProcess_; }
    int CreateProcess(const WString& exePath);
    Process& ProcessById(int id);
    const Process& ProcessById(int id) const;
    const std::vector<Process>& Processes() const { return processes_; }
    // Sets the program's executable path (before it starts).
    void SetProgramPath(const WString& path) { ProcessById(kProgramProcess).exePath = path; }

    // Runs code as another process for the scope's lifetime (a window procedure of another
    // program, set-up done by the simulated user).
    class ProcessScope {
    public:
        ProcessScope(Device& device, int process);
        ~ProcessScope();
        ProcessScope(const ProcessScope&) = delete;
        ProcessScope& operator=(const ProcessScope&) = delete;

    private:
        Device& device_;
        int previous_;
    };

    // Open-handle accounting: every registry key, event and library handle.
    void HandleOpened(HandleKind kind, int process);
    void HandleClosed(HandleKind kind, int process);
    int OpenHandles(int process) const;
    int OpenHandles(int process, HandleKind kind) const;

    DWORD LastError() const { return lastError_; }
    void SetLastErrorValue(DWORD error) { lastError_ = error; }

    Trace trace;
    Registry registry;
    // Power manager, WLAN adapter, kernel I/O controls, idle timer, Bluetooth radio.
    model::Handheld handheld;
    Events events;
    WidcommStack widcomm; // installed by SetUpBluetooth (radios.h)

    // Windows, messages, timers, hot keys and keys of every process; the outside world's
    // agenda (scheduler.h). The device-side operations below are for tests and kipo-sim
    // (device_windows.cpp); each acts as the process that owns the window concerned.
    WindowManager windows;
    Scheduler scheduler{*this};

    // A new top-level window of another program (a process of its own unless `process` is
    // given), shown and brought to the foreground; or left behind the foreground window.
    HWND OpenWindow(const WString& caption, int process = 0);
    HWND OpenWindowBehind(const WString& caption, int process = 0);
    // The first top-level window in z-order with exactly this caption: brought to the
    // foreground / closed (WM_CLOSE) / renamed. False when there is none.
    bool Front(const WString& caption);
    bool Close(const WString& caption);
    bool Rename(const WString& oldCaption, const WString& newCaption);
    // No window is in the foreground.
    void NoForeground();
    // Keys: a press reaches the hot key's holder as WM_HOTKEY, else the focus as WM_KEYDOWN.
    void PressKey(UINT virtualKey);
    void ReleaseKey(UINT virtualKey);
    void TapKey(UINT virtualKey);
    void SetScreenSize(int width, int height);
    // The shell's Today screen, captioned "Desktop", in the foreground at boot.
    HWND DesktopWindow() const { return desktop_; }

private:
    void BootWindows();
    HWND desktop_ = nullptr;
    std::uint64_t now_ = 0;
    int currentProcess_ = kProgramProcess;
    std::vector<Process> processes_;
    DWORD lastError_ = 0;
    Device* previousCurrent_ = nullptr;
};

// Shorthand for the implementation files of sim/.
inline Device& Dev() { return Device::Current(); }

} // namespace sim
