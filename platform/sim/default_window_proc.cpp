// What DefWindowProcW does for the messages the simulated device knows.
#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/window_ops.h"

namespace sim {

namespace {

WString TextOf(LPCWSTR text) {
    if (text == nullptr || IS_INTRESOURCE(text))
        return WString();
    return WString(text);
}

} // namespace

LRESULT DefaultProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Dev().windows.Get(handle);
    if (window == nullptr)
        return 0;
    switch (message) {
    case WM_NCCREATE: {
        // The caption is set here, as on Windows: a procedure that swallows WM_NCCREATE
        // leaves its window without one.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create != nullptr)
            Dev().windows.SetCaption(*window, TextOf(create->lpszName));
        return TRUE;
    }
    case WM_GETTEXT:
        return CopyText(window->caption, reinterpret_cast<LPWSTR>(lParam),
                        static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->caption.size());
    case WM_SETTEXT:
        Dev().windows.SetCaption(*window, TextOf(reinterpret_cast<LPCWSTR>(lParam)));
        return TRUE;
    case WM_CLOSE:
        DestroyWindowAs(handle);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocusAs(handle);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        BeginPaintAs(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return window->background != nullptr ? 1 : 0;
    default:
        return 0;
    }
}

} // namespace sim
