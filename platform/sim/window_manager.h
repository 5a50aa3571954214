// The simulated device's window manager: windows and classes of every simulated process, the
// z-order of top-level windows, the foreground window, and each process's active and focus
// window. It keeps state only; the Win32 names (windows_api.cpp and its neighbours) send the
// messages that go with each change.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/sim/function_ref.h"
#include "platform/sim/hot_keys.h"
#include "platform/sim/message_queues.h"
#include "platform/sim/timers.h"
#include "platform/sim/window.h"

namespace sim {

class WindowManager {
  public:
    WindowManager();

    // Screen size in pixels (a device setting; 240x320 by default).
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    void SetScreenSize(int width, int height);
    // Pixels per 240-pixel-wide screen unit: 1 on 240x320, 2 on 480x640.
    int Scale() const;
    // The shell's taskbar across the top and the menu bar across the bottom.
    int TaskbarHeight() const { return 26 * Scale(); }
    int MenuBarHeight() const { return 26 * Scale(); }
    // Where a top-level window created with CW_USEDEFAULT goes: the screen between them.
    RECT DefaultTopLevelRect() const;

    // Classes. Names compare without regard to letter case; process 0 is a system class.
    ATOM RegisterClass(int process, const WNDCLASSW& wndClass);
    bool UnregisterClass(int process, LPCWSTR name);
    // The process's own class of that name or atom, else the system class, else null.
    const WindowClass* FindClass(int process, LPCWSTR nameOrAtom) const;

    // Windows. Handles are never reused within one device, so a stale handle stays invalid.
    Window& Add(Window window);
    void Remove(HWND handle);
    Window* Get(HWND handle) { return Find(handle); }
    const Window* Get(HWND handle) const { return Find(handle); }
    bool Exists(HWND handle) const { return Get(handle) != nullptr; }
    int WindowCount(int process) const;

    // Top-level windows in z-order, front first.
    const std::vector<HWND>& TopLevel() const { return topLevel_; }
    void BringToTop(HWND topLevel);
    void PlaceBehind(HWND topLevel, HWND after); // after null: to the front
    void SendToBottom(HWND topLevel);
    // The siblings list a window lives in: the top-level list or its parent's children.
    const std::vector<HWND>* Siblings(HWND handle) const;
    // The top-level window a window belongs to (itself when top-level).
    HWND TopLevelOf(HWND handle) const;
    // True when `ancestor` is `handle` or one of its parents.
    bool IsSelfOrAncestor(HWND ancestor, HWND handle) const;
    // The first visible window of `process` waiting to be painted that `accept` takes,
    // depth-first over each top-level window's tree in z-order (hidden windows hide their
    // children), or null. Searched without allocating: the message loop asks on every wait.
    HWND FirstToPaint(int process, FunctionRef<bool(HWND)> accept);
    void SetNeedsPaint(Window& window, bool needsPaint);
    // True when the window and every parent up to its top-level window are visible.
    bool Shown(HWND handle) const;
    // Screen rectangle of any window.
    RECT ScreenRect(HWND handle) const;

    // Foreground and, per process, active and focus windows.
    HWND Foreground() const { return foreground_; }
    void SetForegroundValue(HWND window) { foreground_ = window; }
    HWND Active(int process) const;
    void SetActiveValue(int process, HWND window);
    HWND Focus(int process) const;
    void SetFocusValue(int process, HWND window);
    // The window that should take over when `leaving` is hidden or destroyed: its owner when
    // visible and enabled, else the first visible, enabled top-level window in z-order.
    HWND NextToActivate(HWND leaving) const;

    // Every window whose caption matches exactly, in z-order (top-level windows only).
    HWND FindExact(const WString& caption) const;

    // Captions. Each window keeps its caption folded by CharLowerBuffW beside it, and the
    // top-level windows are indexed by the folded caption (and counted by its length), so a
    // look-up folds only the name it looks for, and only when some caption is that long.
    void SetCaption(Window& window, WString caption);
    // The front-most top-level window whose caption equals `name` without regard to letter
    // case, or null.
    HWND FindCaption(LPCWSTR name);

    MessageQueues queues;
    Timers timers;
    HotKeys hotKeys;

  private:
    std::vector<HWND>* MutableSiblings(HWND handle);
    Window* Find(HWND handle) const;
    HWND Look(LPCWSTR name, std::size_t length); // FindCaption without its memory

    int screenWidth_ = 240;
    int screenHeight_ = 320;
    void Index(const Window& window);
    void Unindex(const Window& window);

    std::vector<std::unique_ptr<WindowClass>> classes_;
    ATOM nextAtom_ = 0xC000;
    std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> windows_;
    // The windows looked up lately, by handle (direct-mapped): a tick asks for the same few
    // windows many times. Remove forgets its window's entry.
    struct LookUp {
        std::uintptr_t key = 0;
        Window* window = nullptr;
    };
    static std::size_t Slot(std::uintptr_t key) { return (key >> 2) % 16; }
    mutable std::array<LookUp, 16> recent_{};
    std::uintptr_t nextHandle_ = 0x10010;
    std::vector<HWND> topLevel_;
    HWND foreground_ = nullptr;
    std::map<int, HWND> active_;
    std::map<int, HWND> focus_;
    // Top-level windows by folded caption, and how many have a caption of each length (the
    // last bucket counts every longer one).
    std::unordered_map<std::uint64_t, std::vector<HWND>> byCaption_; // by Window::foldedHash
    std::vector<std::uint32_t> captionLengths_ = std::vector<std::uint32_t>(256);
    WString folding_; // the name being looked up, folded (kept to keep its capacity)
    // FindCaption's last name found and its window, good while captionEpoch_ stays as it was; the
    // epoch moves with every change of the index or of the top-level z-order.
    struct LastFound {
        std::array<WCHAR, 64> name{};
        std::size_t length = 0;
        HWND window = nullptr;
        std::uint64_t epoch = ~std::uint64_t{0};
    };
    LastFound lastFound_;
    std::uint64_t captionEpoch_ = 0;
    std::vector<HWND> paintSearch_; // FirstToPaint's pending windows (kept for its capacity)
    // The windows (shown or not) waiting for WM_PAINT, with their process: usually a few.
    std::vector<std::pair<int, HWND>> paintPending_;
};

} // namespace sim
