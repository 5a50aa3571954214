// Win32 names for showing, placing, painting, activating and focusing windows on the
// simulated device. Positions are screen pixels for top-level windows and parent-client pixels
// for child windows; a window has no frame, so its client area is the whole window.
#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/trace_arg.h"
#include "platform/sim/window_ops.h"

using sim::Dev;

using sim::P;

namespace {

constexpr int kSysColors = 31;

} // namespace

BOOL ShowWindow(HWND window, int command) {
    const BOOL result = sim::ShowWindowAs(window, command);
    Dev().trace.Call("ShowWindow", result, P(window), command);
    return result;
}

BOOL UpdateWindow(HWND window) {
    BOOL result = FALSE;
    if (sim::Window* w = sim::LiveWindow(window)) {
        result = TRUE;
        if (w->NeedsPaint() && w->Visible()) {
            sim::Send(window, WM_PAINT, 0, 0);
            if (sim::Window* still = Dev().windows.Get(window))
                Dev().windows.SetNeedsPaint(*still, false);
        }
    }
    Dev().trace.Call("UpdateWindow", result, P(window));
    return result;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
    BOOL result = FALSE;
    if (sim::LiveWindow(window) != nullptr && rect != nullptr) {
        *rect = Dev().windows.ScreenRect(window);
        result = TRUE;
    }
    Dev().trace.Call("GetWindowRect", result, P(window));
    return result;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    BOOL result = FALSE;
    if (const sim::Window* w = sim::LiveWindow(window); w != nullptr && rect != nullptr) {
        *rect = RECT{0, 0, w->Width(), w->Height()};
        result = TRUE;
    }
    Dev().trace.Call("GetClientRect", result, P(window));
    return result;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    BOOL result = FALSE;
    if (sim::LiveWindow(window) != nullptr) {
        sim::PlaceWindow(window, RECT{x, y, x + width, y + height}, repaint != FALSE);
        result = TRUE;
    }
    Dev().trace.Call("MoveWindow", result, P(window), x, y, width, height, repaint);
    return result;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    BOOL result = FALSE;
    sim::WindowManager& wm = Dev().windows;
    if (sim::Window* w = sim::LiveWindow(window)) {
        result = TRUE;
        RECT rect = w->rect;
        if ((flags & SWP_NOMOVE) == 0) {
            rect.right += x - rect.left;
            rect.bottom += y - rect.top;
            rect.left = x;
            rect.top = y;
        }
        if ((flags & SWP_NOSIZE) == 0) {
            rect.right = rect.left + cx;
            rect.bottom = rect.top + cy;
        }
        const bool topLevel = !w->IsChild();
        if ((flags & SWP_NOZORDER) == 0 && topLevel) {
            if (insertAfter == HWND_BOTTOM)
                wm.SendToBottom(window);
            else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST)
                wm.BringToTop(window);
            else if (insertAfter != HWND_NOTOPMOST && wm.Exists(insertAfter))
                wm.PlaceBehind(window, insertAfter);
        }
        sim::PlaceWindow(window, rect, (flags & SWP_NOREDRAW) == 0);
        if ((flags & SWP_HIDEWINDOW) != 0 && wm.Exists(window)) {
            sim::ShowWindowAs(window, SW_HIDE);
        } else if ((flags & SWP_SHOWWINDOW) != 0 && wm.Exists(window)) {
            sim::ShowWindowAs(window, SW_SHOWNA);
        }
        sim::Window* now = wm.Get(window);
        if (now != nullptr && topLevel && now->Visible() && (flags & SWP_NOACTIVATE) == 0)
            sim::Activate(window);
    }
    Dev().trace.Call("SetWindowPos", result, P(window), P(insertAfter), x, y, cx, cy, flags);
    return result;
}

int GetSystemMetrics(int index) {
    int result = 0;
    if (index == SM_CXSCREEN)
        result = Dev().windows.ScreenWidth();
    else if (index == SM_CYSCREEN)
        result = Dev().windows.ScreenHeight();
    Dev().trace.Call("GetSystemMetrics", result, index);
    return result;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    BOOL result = TRUE;
    if (window != nullptr) {
        if (sim::Window* w = sim::LiveWindow(window)) {
            Dev().windows.SetNeedsPaint(*w, true);
            w->needsErase = w->needsErase || erase != FALSE;
        } else {
            result = FALSE;
        }
    }
    Dev().trace.Call("InvalidateRect", result, P(window), P(rect), erase);
    return result;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    HDC dc = sim::BeginPaintAs(window, paint);
    Dev().trace.Call("BeginPaint", P(dc), P(window));
    return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    const BOOL result = Dev().windows.Exists(window) && paint != nullptr;
    Dev().trace.Call("EndPaint", result, P(window));
    return result;
}

HBRUSH GetSysColorBrush(int index) {
    // Stock brushes are never freed; a fixed token per colour stands for each.
    HBRUSH brush = index >= 0 && index < kSysColors
                       ? reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(0xB000 + index * 4))
                       : nullptr;
    Dev().trace.Call("GetSysColorBrush", P(brush), index);
    return brush;
}

HWND SetFocus(HWND window) {
    HWND previous = sim::SetFocusAs(window);
    Dev().trace.Call("SetFocus", P(previous), P(window));
    return previous;
}

HWND GetFocus() {
    HWND focus = Dev().windows.Focus(Dev().CurrentProcess());
    Dev().trace.Call("GetFocus", P(focus));
    return focus;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    BOOL wasDisabled = FALSE;
    if (sim::Window* w = sim::LiveWindow(window)) {
        wasDisabled = !w->Enabled();
        if (wasDisabled == (enable != FALSE)) { // a change
            if (enable)
                w->style &= ~static_cast<DWORD>(WS_DISABLED);
            else
                w->style |= WS_DISABLED;
            if (!enable) {
                HWND focus = Dev().windows.Focus(w->process);
                if (focus != nullptr && Dev().windows.IsSelfOrAncestor(window, focus)) {
                    sim::Device::ProcessScope scope(Dev(), w->process);
                    sim::SetFocusAs(nullptr);
                }
            }
            sim::Send(window, WM_ENABLE, enable != FALSE, 0);
        }
    }
    Dev().trace.Call("EnableWindow", wasDisabled, P(window), enable);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    const sim::Window* w = sim::LiveWindow(window);
    const BOOL result = w != nullptr && w->Enabled();
    Dev().trace.Call("IsWindowEnabled", result, P(window));
    return result;
}

HWND GetForegroundWindow() {
    HWND result = Dev().windows.Foreground();
    Dev().trace.Call("GetForegroundWindow", P(result));
    return result;
}

BOOL SetForegroundWindow(HWND window) {
    BOOL result = FALSE;
    if (sim::LiveWindow(window) != nullptr) {
        sim::Activate(window);
        result = TRUE;
    }
    Dev().trace.Call("SetForegroundWindow", result, P(window));
    return result;
}

HWND GetActiveWindow() {
    HWND result = Dev().windows.Active(Dev().CurrentProcess());
    Dev().trace.Call("GetActiveWindow", P(result));
    return result;
}

// The owned window most recently active, else the window itself (also when that popup has
// gone). An invalid window comes back as given, as Windows returns it.
HWND GetLastActivePopup(HWND window) {
    HWND result = window;
    if (const sim::Window* w = sim::LiveWindow(window)) {
        if (Dev().windows.Exists(w->lastActive))
            result = w->lastActive;
    }
    Dev().trace.Call("GetLastActivePopup", P(result), P(window));
    return result;
}

HWND SetActiveWindow(HWND window) {
    HWND previous = Dev().windows.Active(Dev().CurrentProcess());
    const sim::Window* w = sim::LiveWindow(window);
    if (w == nullptr || w->process != Dev().CurrentProcess())
        previous = nullptr;
    else
        sim::Activate(window);
    Dev().trace.Call("SetActiveWindow", P(previous), P(window));
    return previous;
}
