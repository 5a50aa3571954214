// One window and one window class of the simulated device, as the window manager keeps them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace sim {

struct WindowClass {
    WString name; // as registered; looked up without regard to letter case
    ATOM atom = 0;
    int process = 0; // 0: a system class every process can use (static, edit, ...)
    UINT style = 0;
    WNDPROC proc = nullptr;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    int process = 0; // owner process: its procedure runs as that process
    WString className;
    ATOM classAtom = 0;
    WString caption; // set through WindowManager::SetCaption, which keeps `folded` with it
    WString folded;  // the caption after CharLowerBuffW: what look-ups by caption compare
    std::uint64_t foldedHash = 0; // the caption index's key for `folded`
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr; // WS_CHILD windows only
    HWND owner = nullptr;  // top-level windows only
    // The window of this one's owned chain (or this one) most recently active: what
    // GetLastActivePopup answers while it exists.
    HWND lastActive = nullptr;
    LONG_PTR id = 0; // GWL_ID of a child window
    // Top-level windows: screen pixels. Child windows: pixels in the parent's client area.
    RECT rect{};
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
    std::vector<BYTE> extra;    // cbWndExtra bytes (dialog results and user data live here)
    std::vector<HWND> children; // z-order among siblings, top first
    bool needsErase = false;
    bool destroying = false; // DestroyWindow has begun: no second round of messages
    // An overlapped top-level window hears WM_SIZE and WM_MOVE at its first showing, not at
    // creation, as on Windows.
    bool sizePending = false;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    bool Enabled() const { return (style & WS_DISABLED) == 0; }
    LONG Width() const { return rect.right - rect.left; }
    LONG Height() const { return rect.bottom - rect.top; }
    // Waiting for WM_PAINT. Set through WindowManager::SetNeedsPaint, which keeps the list of
    // waiting windows that the paint search looks at before any walk of the z-order.
    bool NeedsPaint() const { return needsPaint_; }

  private:
    friend class WindowManager;
    bool needsPaint_ = false;
};

} // namespace sim
