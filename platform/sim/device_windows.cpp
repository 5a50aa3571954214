// The device side of the window system: the shell's Today screen at boot, and what the
// simulated user does to windows and keys. Each operation acts as the process that owns the
// window concerned, as that program or the shell would.
#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/window_ops.h"

namespace sim {

namespace {

constexpr const WCHAR* kDesktopClass = TEXT("DesktopExplorerWindow");
constexpr const WCHAR* kAppClass = TEXT("SimulatedAppWindow");

// Other programs' windows do what DefWindowProcW does: WM_CLOSE destroys them.
LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(window, message, wParam, lParam);
}

// WM_HOTKEY to the holder of `hot` (its window's process, or the thread's own queue).
void PostHotKey(Device& device, const HotKey& hot, UINT modifiers, UINT virtualKey) {
    const MSG msg{hot.window,
                  WM_HOTKEY,
                  static_cast<WPARAM>(hot.id),
                  MAKELPARAM(modifiers, virtualKey),
                  static_cast<DWORD>(device.Now()),
                  {}};
    const int process =
        hot.window != nullptr ? device.windows.Get(hot.window)->process : hot.process;
    device.windows.queues.Post(process, msg);
}

// A key message to the focus window of the foreground program (or its foreground window).
void PostKeyToFocus(Device& device, UINT message, UINT virtualKey) {
    HWND foreground = device.windows.Foreground();
    if (foreground == nullptr)
        return;
    const int process = device.windows.Get(foreground)->process;
    HWND focus = device.windows.Focus(process);
    Device::ProcessScope scope(device, process);
    Post(focus != nullptr ? focus : foreground, message, virtualKey, 1);
}

void EnsureClass(Device& device, int process, const WCHAR* name) {
    if (device.windows.FindClass(process, name) != nullptr)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.lpszClassName = name;
    device.windows.RegisterClass(process, wc);
}

std::string Utf8(const WString& text) {
    return ToUtf8(text);
}

const WString kAppFolder = TEXT("\\Program Files\\App");
const WString kAppFile = TEXT("\\app.exe");

bool IsUserApp(const Process& process) {
    const WString& path = process.exePath;
    return process.id > kProgramProcess && path.size() > kAppFolder.size() + kAppFile.size() &&
           path.compare(0, kAppFolder.size(), kAppFolder) == 0 &&
           path.compare(path.size() - kAppFile.size(), kAppFile.size(), kAppFile) == 0;
}

// The process for a window the simulated user opens: a user application that has no window
// left (its last one closed) is taken again, with its window class, so a long scenario of
// opening and closing keeps as many processes and classes as windows are open at once.
int AppProcess(Device& device) {
    std::vector<bool> hasWindow(device.Processes().size() + 1, false);
    for (HWND handle : device.windows.TopLevel())
        if (const Window* window = device.windows.Get(handle))
            if (window->process > 0 && static_cast<std::size_t>(window->process) < hasWindow.size())
                hasWindow[static_cast<std::size_t>(window->process)] = true;
    for (const Process& process : device.Processes())
        if (IsUserApp(process) && !hasWindow[static_cast<std::size_t>(process.id)] &&
            device.OpenHandles(process.id) == 0)
            return process.id;
    return device.CreateProcess(kAppFolder +
                                FromUtf8(std::to_string(device.Processes().size() + 1)) + kAppFile);
}

// A window the simulated user opens as `process` (an application's own when 0), its caption cut
// at the first NUL: in front, or behind the foreground window without taking it. The call is
// recorded as that process, under `name`.
HWND OpenAppWindow(Device& device, TraceName name, const WString& caption, int process,
                   bool behind) {
    if (process == 0)
        process = AppProcess(device);
    Device::ProcessScope scope(device, process);
    EnsureClass(device, process, kAppClass);
    const WString text = caption.substr(0, caption.find(WCHAR(0)));
    HWND window = CreateWindowAs(0, kAppClass, text.c_str(), behind ? 0 : WS_VISIBLE, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 nullptr, nullptr);
    if (behind && window != nullptr) {
        device.windows.PlaceBehind(window, device.windows.Foreground());
        ShowWindowAs(window, SW_SHOWNA);
    }
    device.trace.VoidCall(name, Utf8(text));
    return window;
}

} // namespace

void Device::BootWindows() {
    ProcessScope scope(*this, kShellProcess);
    EnsureClass(*this, kShellProcess, kDesktopClass);
    desktop_ =
        CreateWindowAs(0, kDesktopClass, TEXT("Desktop"), WS_VISIBLE, 0, 0, windows.ScreenWidth(),
                       windows.ScreenHeight(), nullptr, nullptr, nullptr, nullptr);
    // The shell holds Application Button 1 until a program takes it (UnregisterFunc1).
    windows.hotKeys.Register(desktop_, VK_APP1, MOD_WIN, VK_APP1, kShellProcess);
}

HWND Device::OpenWindow(const WString& caption, int process) {
    return OpenAppWindow(*this, "device:open", caption, process, false);
}

HWND Device::OpenWindowBehind(const WString& caption, int process) {
    return OpenAppWindow(*this, "device:open-behind", caption, process, true);
}

bool Device::Front(const WString& caption) {
    HWND window = windows.FindExact(caption);
    if (window != nullptr) {
        ProcessScope scope(*this, windows.Get(window)->process);
        Activate(window);
    }
    trace.VoidCall("device:front", Utf8(caption));
    return window != nullptr;
}

bool Device::Close(const WString& caption) {
    HWND window = windows.FindExact(caption);
    if (window != nullptr)
        Send(window, WM_CLOSE, 0, 0);
    trace.VoidCall("device:close", Utf8(caption));
    return window != nullptr;
}

bool Device::Rename(const WString& oldCaption, const WString& newCaption) {
    HWND window = windows.FindExact(oldCaption);
    if (window != nullptr) {
        const WString text = newCaption.substr(0, newCaption.find(WCHAR(0)));
        Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    trace.VoidCall("device:rename", Utf8(oldCaption), Utf8(newCaption));
    return window != nullptr;
}

void Device::NoForeground() {
    ClearForeground();
    trace.VoidCall("device:no-front");
}

void Device::PressKey(UINT virtualKey) {
    HotKeys& keys = windows.hotKeys;
    keys.SetDown(virtualKey, true);
    trace.VoidCall("device:press", virtualKey);
    if (const HotKey* hot = keys.Match(keys.HeldModifiers(virtualKey), virtualKey)) {
        PostHotKey(*this, *hot, hot->modifiers & ~static_cast<UINT>(MOD_KEYUP), virtualKey);
        return;
    }
    PostKeyToFocus(*this, WM_KEYDOWN, virtualKey);
}

void Device::ReleaseKey(UINT virtualKey) {
    HotKeys& keys = windows.hotKeys;
    keys.SetDown(virtualKey, false);
    trace.VoidCall("device:release", virtualKey);
    if (const HotKey* hot = keys.Match(keys.HeldModifiers(virtualKey), virtualKey)) {
        // Only a hot key registered with MOD_KEYUP hears the release.
        if ((hot->modifiers & MOD_KEYUP) != 0)
            PostHotKey(*this, *hot, hot->modifiers, virtualKey);
        return;
    }
    PostKeyToFocus(*this, WM_KEYUP, virtualKey);
}

void Device::TapKey(UINT virtualKey) {
    PressKey(virtualKey);
    ReleaseKey(virtualKey);
}

void Device::SetScreenSize(int width, int height) {
    windows.SetScreenSize(width, height);
    if (windows.Exists(desktop_)) {
        ProcessScope scope(*this, kShellProcess);
        PlaceWindow(desktop_, RECT{0, 0, windows.ScreenWidth(), windows.ScreenHeight()}, true);
    }
    trace.VoidCall("device:screen", width, height);
}

} // namespace sim
