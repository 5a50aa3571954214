#include "platform/sim/window_ops.h"

#include <algorithm>
#include <vector>

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"

namespace sim {

namespace {

WindowManager& Wm() {
    return Dev().windows;
}

int ProcessOf(HWND handle) {
    const Window* window = Wm().Get(handle);
    return window == nullptr ? 0 : window->process;
}

bool Alive(HWND handle) {
    return handle != nullptr && Wm().Exists(handle);
}

// When the focus sits inside a window that goes away or is hidden, it moves to the parent of
// that window (a child) or leaves the process (a top-level window).
void MoveFocusOutOf(HWND leaving) {
    const Window* window = Wm().Get(leaving);
    if (window == nullptr)
        return;
    const int process = window->process;
    HWND focus = Wm().Focus(process);
    if (focus == nullptr || !Wm().IsSelfOrAncestor(leaving, focus))
        return;
    if (window->IsChild() && Alive(window->parent)) {
        Device::ProcessScope scope(Dev(), process);
        SetFocusAs(window->parent);
    } else {
        Wm().SetFocusValue(process, nullptr);
        Send(focus, WM_KILLFOCUS, 0, 0);
    }
}

// A top-level window that is hidden or destroyed hands activation and the foreground on.
void HandOnActivation(HWND leaving) {
    const int process = ProcessOf(leaving);
    if (Wm().Foreground() != leaving && Wm().Active(process) != leaving)
        return;
    if (HWND next = Wm().NextToActivate(leaving)) {
        Activate(next);
        return;
    }
    if (Wm().Foreground() == leaving)
        ClearForeground();
    else if (Wm().Active(process) == leaving) {
        Wm().SetActiveValue(process, nullptr);
        Send(leaving, WM_ACTIVATE, WA_INACTIVE, 0);
    }
}

void SendDestroy(HWND handle) {
    Window* window = Wm().Get(handle);
    if (window == nullptr)
        return;
    window->destroying = true;
    Send(handle, WM_DESTROY, 0, 0);
    window = Wm().Get(handle);
    if (window == nullptr)
        return;
    std::vector<HWND> children = window->children;
    for (HWND child : children)
        SendDestroy(child);
}

void FinishDestroy(HWND handle) {
    Window* window = Wm().Get(handle);
    if (window == nullptr)
        return;
    std::vector<HWND> children = window->children;
    for (HWND child : children)
        FinishDestroy(child);
    Send(handle, WM_NCDESTROY, 0, 0);
    Wm().Remove(handle);
}

void SendSizeAndMove(HWND handle, bool size, bool move) {
    const Window* window = Wm().Get(handle);
    if (window == nullptr)
        return;
    const LPARAM extent = MAKELPARAM(window->Width(), window->Height());
    const LPARAM origin = MAKELPARAM(window->rect.left, window->rect.top);
    if (move)
        Send(handle, WM_MOVE, 0, origin);
    if (size && Wm().Exists(handle))
        Send(handle, WM_SIZE, SIZE_RESTORED, extent);
}

} // namespace

Window* LiveWindow(HWND handle) {
    Window* window = Wm().Get(handle);
    if (window == nullptr)
        Dev().SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

HWND CreateWindowAs(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param) {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    const int process = device.CurrentProcess();
    const Window* parentWindow = parent == nullptr ? nullptr : wm.Get(parent);
    if (parent != nullptr && parentWindow == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if ((style & WS_CHILD) != 0 && parentWindow == nullptr) {
        device.SetLastErrorValue(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    const WindowClass* windowClass = wm.FindClass(process, className);
    if (windowClass == nullptr) {
        device.SetLastErrorValue(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }

    Window window;
    window.process = process;
    window.className = windowClass->name;
    window.classAtom = windowClass->atom;
    window.style = style & ~static_cast<DWORD>(WS_VISIBLE);
    window.exStyle = exStyle;
    window.proc = windowClass->proc;
    window.instance = instance != nullptr ? instance : windowClass->instance;
    window.background = windowClass->background;
    window.extra.assign(static_cast<std::size_t>(windowClass->windowExtra), 0);
    if ((style & WS_CHILD) != 0) {
        window.parent = parent;
        window.id = static_cast<LONG_PTR>(reinterpret_cast<ULONG_PTR>(menu));
    } else if (parent != nullptr) {
        window.owner = wm.TopLevelOf(parent); // an owner is always a top-level window
    }
    const bool topLevel = (style & WS_CHILD) == 0;
    const RECT standard = wm.DefaultTopLevelRect();
    if (x == CW_USEDEFAULT) {
        x = topLevel ? standard.left : 0;
        y = topLevel ? standard.top : 0;
    }
    if (width == CW_USEDEFAULT) {
        width = topLevel ? standard.right - standard.left : 0;
        height = topLevel ? standard.bottom - standard.top : 0;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    window.rect = RECT{x, y, x + width, y + height};
    const HWND handle = wm.Add(std::move(window)).handle;

    CREATESTRUCTW create{
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    bool created = Send(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) != 0;
    if (created && wm.Exists(handle))
        created = Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) != -1;
    if (!wm.Exists(handle))
        return nullptr; // it destroyed itself while being created
    if (!created) {
        Send(handle, WM_NCDESTROY, 0, 0);
        wm.Remove(handle);
        return nullptr;
    }
    if (Window* made = wm.Get(handle)) {
        if ((style & (WS_CHILD | WS_POPUP)) == 0) {
            made->sizePending = true;
        } else {
            const LPARAM extent = MAKELPARAM(made->Width(), made->Height());
            const LPARAM origin = MAKELPARAM(made->rect.left, made->rect.top);
            Send(handle, WM_SIZE, SIZE_RESTORED, extent);
            if (wm.Exists(handle))
                Send(handle, WM_MOVE, 0, origin);
        }
    }
    if (!wm.Exists(handle))
        return nullptr;
    if ((style & WS_VISIBLE) != 0)
        ShowWindowAs(handle, SW_SHOW);
    return wm.Exists(handle) ? handle : nullptr;
}

bool DestroyWindowAs(HWND handle) {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    Window* window = wm.Get(handle);
    if (window == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (window->process != device.CurrentProcess()) {
        device.SetLastErrorValue(ERROR_ACCESS_DENIED);
        return false;
    }
    if (window->destroying)
        return true; // already under way further up the stack
    window->destroying = true;
    const bool topLevel = !window->IsChild();

    if (Window* still = wm.Get(handle))
        still->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (topLevel)
        HandOnActivation(handle);
    MoveFocusOutOf(handle);

    if (topLevel) {
        std::vector<HWND> owned;
        for (HWND other : wm.TopLevel())
            if (const Window* w = wm.Get(other); w != nullptr && w->owner == handle)
                owned.push_back(other);
        for (HWND other : owned) {
            Window* w = wm.Get(other);
            if (w == nullptr)
                continue;
            if (w->process == device.CurrentProcess())
                DestroyWindowAs(other);
            else
                w->owner = nullptr;
        }
    }
    SendDestroy(handle);
    FinishDestroy(handle);
    return true;
}

bool ShowWindowAs(HWND handle, int command) {
    WindowManager& wm = Wm();
    Window* window = wm.Get(handle);
    if (window == nullptr) {
        Dev().SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const bool wasVisible = window->Visible();
    const bool topLevel = !window->IsChild();
    switch (command) {
    case SW_HIDE:
        if (!wasVisible)
            return false;
        Send(handle, WM_SHOWWINDOW, FALSE, 0);
        if ((window = wm.Get(handle)) == nullptr)
            return true;
        window->style &= ~static_cast<DWORD>(WS_VISIBLE);
        if (topLevel)
            HandOnActivation(handle);
        MoveFocusOutOf(handle);
        return true;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        // Pocket PC has no minimized state to show: the window drops to the bottom and the
        // next one takes over.
        if (topLevel) {
            wm.SendToBottom(handle);
            HandOnActivation(handle);
        }
        return wasVisible;
    default:
        break;
    }
    if (!wasVisible) {
        Send(handle, WM_SHOWWINDOW, TRUE, 0);
        if ((window = wm.Get(handle)) == nullptr)
            return false;
        window->style |= WS_VISIBLE;
        wm.SetNeedsPaint(*window, true);
        window->needsErase = true;
    }
    if (topLevel && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE)
        Activate(handle);
    if (Window* shown = wm.Get(handle); shown != nullptr && shown->sizePending) {
        shown->sizePending = false;
        const LPARAM extent = MAKELPARAM(shown->Width(), shown->Height());
        const LPARAM origin = MAKELPARAM(shown->rect.left, shown->rect.top);
        Send(handle, WM_SIZE, SIZE_RESTORED, extent);
        if (wm.Exists(handle))
            Send(handle, WM_MOVE, 0, origin);
    }
    return wasVisible;
}

void Activate(HWND handle) {
    WindowManager& wm = Wm();
    const HWND top = wm.TopLevelOf(handle);
    if (top == nullptr)
        return;
    const int process = ProcessOf(top);
    wm.BringToTop(top);
    // The window and each of its owners remember it as their last active popup.
    for (Window* w = wm.Get(top); w != nullptr; w = wm.Get(w->owner))
        w->lastActive = top;
    const HWND oldForeground = wm.Foreground();
    const HWND oldActive = wm.Active(process);
    if (oldForeground == top && oldActive == top)
        return;
    wm.SetForegroundValue(top);
    if (Alive(oldForeground) && oldForeground != top && ProcessOf(oldForeground) != process) {
        // The process that had the foreground loses its active and focus windows.
        const int oldProcess = ProcessOf(oldForeground);
        const HWND oldFocus = wm.Focus(oldProcess);
        wm.SetActiveValue(oldProcess, nullptr);
        wm.SetFocusValue(oldProcess, nullptr);
        Send(oldForeground, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top));
        if (Alive(oldFocus))
            Send(oldFocus, WM_KILLFOCUS, 0, 0);
    }
    wm.SetActiveValue(process, top);
    if (Alive(oldActive) && oldActive != top)
        Send(oldActive, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top));
    if (Alive(top) && wm.Active(process) == top) {
        const HWND previous = Alive(oldActive) ? oldActive : oldForeground;
        Send(top, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

void ClearForeground() {
    WindowManager& wm = Wm();
    const HWND old = wm.Foreground();
    wm.SetForegroundValue(nullptr);
    if (!Alive(old))
        return;
    const int process = ProcessOf(old);
    const HWND focus = wm.Focus(process);
    wm.SetActiveValue(process, nullptr);
    wm.SetFocusValue(process, nullptr);
    Send(old, WM_ACTIVATE, WA_INACTIVE, 0);
    if (Alive(focus))
        Send(focus, WM_KILLFOCUS, 0, 0);
}

HWND SetFocusAs(HWND handle) {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    const int process = device.CurrentProcess();
    const HWND previous = wm.Focus(process);
    if (handle == nullptr) {
        if (previous != nullptr) {
            wm.SetFocusValue(process, nullptr);
            if (Alive(previous))
                Send(previous, WM_KILLFOCUS, 0, 0);
        }
        return previous;
    }
    const Window* window = wm.Get(handle);
    if (window == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (window->process != process)
        return nullptr; // only the caller's own windows take its focus
    if (handle == previous)
        return previous;
    const HWND top = wm.TopLevelOf(handle);
    if (wm.Active(process) != top)
        Activate(top);
    if (!Alive(handle))
        return previous;
    const HWND losing = wm.Focus(process);
    if (losing == handle)
        return previous;
    wm.SetFocusValue(process, handle);
    if (Alive(losing))
        Send(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    if (Alive(handle) && wm.Focus(process) == handle)
        Send(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
    return previous;
}

void PlaceWindow(HWND handle, RECT rect, bool repaint) {
    Window* window = Wm().Get(handle);
    if (window == nullptr)
        return;
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    const bool moved = rect.left != window->rect.left || rect.top != window->rect.top;
    const bool sized =
        rect.right - rect.left != window->Width() || rect.bottom - rect.top != window->Height();
    window->rect = rect;
    if (repaint && (moved || sized)) {
        Wm().SetNeedsPaint(*window, true);
        window->needsErase = true;
    }
    SendSizeAndMove(handle, sized, moved);
}

HDC BeginPaintAs(HWND handle, PAINTSTRUCT* paint) {
    Window* window = Wm().Get(handle);
    if (window == nullptr || paint == nullptr) {
        if (window == nullptr)
            Dev().SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    *paint = PAINTSTRUCT{};
    paint->hdc = PaintDC(handle);
    paint->rcPaint = RECT{0, 0, window->Width(), window->Height()};
    Wm().SetNeedsPaint(*window, false);
    if (window->needsErase) {
        window->needsErase = false;
        paint->fErase = Send(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
    }
    return paint->hdc;
}

HDC PaintDC(HWND window) {
    return reinterpret_cast<HDC>(reinterpret_cast<std::uintptr_t>(window) | 1);
}

} // namespace sim
