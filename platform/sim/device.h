// The simulated Pocket PC. One Device is "current" at a time; the Win32 names of sim/ act on
// it. Tests make a fresh Device per test; constructing one makes it current.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/model/handheld.h"
#include "platform/platform.h"
#include "platform/sim/dialogs.h"
#include "platform/sim/events.h"
#include "platform/sim/faults.h"
#include "platform/sim/libraries.h"
#include "platform/sim/menus.h"
#include "platform/sim/registry.h"
#include "platform/sim/scheduler.h"
#include "platform/sim/shell.h"
#include "platform/sim/threads.h"
#include "platform/sim/trace.h"
#include "platform/sim/widcomm_stack.h"
#include "platform/sim/window_manager.h"

namespace sim {

// Mutex last: OpenHandles(process) counts the kinds before it, the handles a program opens and
// closes while it works; the framework holds its instance mutex for the whole run.
enum class HandleKind { RegistryKey, Event, Library, Mutex };
constexpr int kHandleKinds = 4;
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

    // The current device; aborts with a message when there is none. Inline: every platform
    // call asks for it.
    static Device& Current() {
        if (current_ == nullptr)
            NoCurrent();
        return *current_;
    }

    // Virtual clock, in milliseconds since boot.
    std::uint64_t Now() const { return now_; }
    void SetNow(std::uint64_t now);

    // Processes. Platform calls are made on behalf of the current process.
    int CurrentProcess() const { return currentProcess_; }
    int CreateProcess(const WString& exePath);
    // Aborts with a message for an id no process has.
    Process& ProcessById(int id) {
        if (id < 1 || id > static_cast<int>(processes_.size()))
            NoProcess(id);
        return processes_[static_cast<std::size_t>(id - 1)];
    }
    const Process& ProcessById(int id) const { return const_cast<Device*>(this)->ProcessById(id); }
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

    // Open-handle accounting: every registry key, event, library and mutex handle.
    // OpenHandles(process) is the registry keys, events and libraries; a kind is counted alone.
    // Inline: a program may open and close a key on every check.
    void HandleOpened(HandleKind kind, int process) {
        ++ProcessById(process).handles[static_cast<int>(kind)];
    }
    void HandleClosed(HandleKind kind, int process) {
        --ProcessById(process).handles[static_cast<int>(kind)];
    }
    int OpenHandles(int process) const;
    int OpenHandles(int process, HandleKind kind) const;

    DWORD LastError() const { return lastError_; }
    void SetLastErrorValue(DWORD error) { lastError_ = error; }

    Trace trace;
    Faults faults; // failures asked for by a test or scenario (faults.h)
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
    // The programs' threads (threads.h): tests run as thread 0 in the program's process.
    Threads threads{*this, kProgramProcess};

    // Starts `body` as the one thread of `process` (a program started while others run): it
    // runs side by side with them, from the current thread's next wait on (messaging.h).
    void StartThread(int process, std::function<void()> body);
    // The outside world's own wait, for a host thread that runs no program itself: works the
    // agenda and lets the programs run until the agenda is empty and every started thread
    // has ended.
    void RunUntilIdle();

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

    // Notification icons and the shell library (shell.h), menus and the popup (menus.h),
    // dialogs, controls and message boxes (dialogs.h), loaded libraries (libraries.h). The
    // device-side operations below are the simulated user's (device_shell.cpp).
    Shell shell;
    Menus menus;
    Dialogs dialogs;
    Libraries libraries;

    // A tap on the program's notification icon: the shell posts its callback message with
    // this mouse message, naming the icon by `iconId` when given (as if another icon of the
    // program's window were tapped), else by the icon's own id. False when it shows no icon.
    bool TapIcon(UINT mouseMessage = WM_LBUTTONDOWN, std::optional<UINT> iconId = std::nullopt);
    // The program's notification icon and the icon resource it shows (0: none of the program's).
    bool IconShown() const;
    WORD IconResource() const;
    // The open popup menu: its items' texts as the user reads them (no "&", no trailing
    // "..."), choosing one by that text, or closing it without a choice.
    bool MenuOpen() const;
    std::vector<WString> MenuItems() const;
    bool ChooseMenuItem(const WString& text);
    bool DismissMenu();
    // The foreground window when it is a dialog (message boxes included); the newest open
    // dialog of any program, visible or hidden; the foreground dialog, else the newest.
    HWND ForegroundDialog() const;
    HWND NewestDialog() const;
    HWND DialogInView() const;
    // The user at the foreground dialog: each is false when the control is not there, not of
    // that kind, hidden or disabled. The input arrives as posted messages, handled by the
    // program's loop as real input is.
    bool TypeText(int id, const WString& text);
    bool SetCheck(int id, bool on);
    bool SelectItem(int id, int index); // -1: no item
    bool ChooseRadio(int id);
    bool ClickButton(int id); // IDOK also reaches a caption OK button
    // What DialogInView() shows; none when there is no such control.
    std::optional<WString> ControlText(int id) const;
    std::optional<bool> ControlChecked(int id) const;
    std::optional<int> ControlSelection(int id) const;
    // The newest open message box, its text and caption.
    HWND OpenMessageBox() const;
    WString MessageBoxText() const;
    WString MessageBoxCaption() const;

  private:
    friend class Threads; // keeps each thread's current process and last error
    void EndThreads();
    void BootWindows();
    void BootShell();
    HWND desktop_ = nullptr;
    std::uint64_t now_ = 0;
    int currentProcess_ = kProgramProcess;
    std::vector<Process> processes_;
    DWORD lastError_ = 0;
    Device* previousCurrent_ = nullptr;
    // The device made last and not yet destroyed; the one before it comes back when it goes.
    static inline Device* current_ = nullptr;
    [[noreturn]] static void NoCurrent();
    [[noreturn]] static void NoProcess(int id);
};

// Shorthand for the implementation files of sim/.
inline Device& Dev() {
    return Device::Current();
}

} // namespace sim
