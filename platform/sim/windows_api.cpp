// Win32 window names of the simulated device: classes, creation, window data, captions,
// look-up and enumeration. Each records itself in the device trace when it returns.
#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/trace_arg.h"
#include "platform/sim/window_ops.h"

using sim::Dev;

using sim::P;

namespace {

bool SameCaption(const WString& caption, LPCWSTR name);

bool ClassMatches(const sim::Window& window, LPCWSTR className) {
    if (className == nullptr)
        return true;
    if (IS_INTRESOURCE(className))
        return window.classAtom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(className));
    return SameCaption(window.className, className);
}

// Captions compare code unit by code unit after CharLowerW's mapping, without copies: the
// monitor tick looks windows up on every tick and must not allocate.
WCHAR LowerUnit(WCHAR c) {
    CharLowerBuffW(&c, 1);
    return c;
}

bool SameCaption(const WString& caption, LPCWSTR name) {
    std::size_t i = 0;
    for (; i < caption.size(); ++i)
        if (name[i] == 0 || LowerUnit(caption[i]) != LowerUnit(name[i]))
            return false;
    return name[i] == 0;
}

// Window data at a non-negative index: the class's extra bytes.
template <class Value> bool ExtraAt(sim::Window& window, int index, Value** where) {
    if (index < 0 || static_cast<std::size_t>(index) + sizeof(Value) > window.extra.size()) {
        Dev().SetLastErrorValue(ERROR_INVALID_INDEX);
        return false;
    }
    *where = reinterpret_cast<Value*>(window.extra.data() + index);
    return true;
}

template <class Value> Value ReadExtra(sim::Window& window, int index) {
    Value* where = nullptr;
    if (!ExtraAt(window, index, &where))
        return 0;
    Value value;
    std::memcpy(&value, where, sizeof value);
    return value;
}

template <class Value> Value WriteExtra(sim::Window& window, int index, Value value) {
    Value* where = nullptr;
    if (!ExtraAt(window, index, &where))
        return 0;
    Value old;
    std::memcpy(&old, where, sizeof old);
    std::memcpy(where, &value, sizeof value);
    return old;
}

// GetWindowLongPtrW and friends: false when the index names nothing.
bool ReadLong(sim::Window& window, int index, LONG_PTR& value) {
    switch (index) {
    case GWL_STYLE:
        value = static_cast<LONG_PTR>(static_cast<LONG>(window.style));
        return true;
    case GWL_EXSTYLE:
        value = static_cast<LONG_PTR>(static_cast<LONG>(window.exStyle));
        return true;
    case GWL_ID:
        value = window.id;
        return true;
    case GWL_USERDATA:
        value = window.userData;
        return true;
    case GWL_WNDPROC:
        value = reinterpret_cast<LONG_PTR>(window.proc);
        return true;
    default:
        break;
    }
    Dev().SetLastErrorValue(ERROR_INVALID_INDEX);
    return false;
}

bool WriteLong(sim::Window& window, int index, LONG_PTR value, LONG_PTR& old) {
    if (index == GWL_WNDPROC && window.process != Dev().CurrentProcess()) {
        Dev().SetLastErrorValue(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!ReadLong(window, index, old))
        return false;
    switch (index) {
    case GWL_STYLE:
        window.style = static_cast<DWORD>(value);
        break;
    case GWL_EXSTYLE:
        window.exStyle = static_cast<DWORD>(value);
        break;
    case GWL_ID:
        window.id = value;
        break;
    case GWL_USERDATA:
        window.userData = value;
        break;
    case GWL_WNDPROC:
        window.proc = reinterpret_cast<WNDPROC>(value);
        break;
    default:
        break;
    }
    return true;
}

} // namespace

ATOM RegisterClassW(const WNDCLASSW* wndClass) {
    ATOM atom = 0;
    if (wndClass == nullptr || wndClass->lpszClassName == nullptr) {
        Dev().SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else {
        atom = Dev().windows.RegisterClass(Dev().CurrentProcess(), *wndClass);
        if (atom == 0)
            Dev().SetLastErrorValue(IS_INTRESOURCE(wndClass->lpszClassName)
                                        ? ERROR_INVALID_PARAMETER
                                        : ERROR_CLASS_ALREADY_EXISTS);
    }
    Dev().trace.Call("RegisterClassW", atom,
                     wndClass == nullptr ? nullptr : wndClass->lpszClassName);
    return atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
    const BOOL result = Dev().windows.UnregisterClass(Dev().CurrentProcess(), className);
    if (!result)
        Dev().SetLastErrorValue(ERROR_CLASS_DOES_NOT_EXIST);
    Dev().trace.Call("UnregisterClassW", result, className, P(instance));
    return result;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass) {
    const sim::WindowClass* found = Dev().windows.FindClass(Dev().CurrentProcess(), className);
    if (found != nullptr && wndClass != nullptr) {
        *wndClass = WNDCLASSW{};
        wndClass->style = found->style;
        wndClass->lpfnWndProc = found->proc;
        wndClass->cbWndExtra = found->windowExtra;
        wndClass->hInstance = found->instance;
        wndClass->hIcon = found->icon;
        wndClass->hbrBackground = found->background;
        wndClass->lpszClassName = className;
    } else if (found == nullptr) {
        Dev().SetLastErrorValue(ERROR_CLASS_DOES_NOT_EXIST);
    }
    const BOOL result = found != nullptr && wndClass != nullptr;
    Dev().trace.Call("GetClassInfoW", result, P(instance), className);
    return result;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    // The names are read before the call: a window that fails in WM_CREATE may take the
    // caller's object, and the strings it owned, along with it.
    const std::string classArg = sim::TraceArg(className);
    const std::string nameArg = sim::TraceArg(windowName);
    HWND window = nullptr;
    if (Dev().faults.createTopLevel && parent == nullptr && (style & WS_CHILD) == 0)
        Dev().SetLastErrorValue(ERROR_NOT_ENOUGH_MEMORY);
    else
        window = sim::CreateWindowAs(exStyle, className, windowName, style, x, y, width, height,
                                     parent, menu, instance, param);
    Dev().trace.Call("CreateWindowExW", P(window), exStyle, classArg, nameArg, style, x, y, width,
                     height, P(parent), P(menu));
    return window;
}

BOOL DestroyWindow(HWND window) {
    const BOOL result = sim::DestroyWindowAs(window);
    Dev().trace.Call("DestroyWindow", result, P(window));
    return result;
}

BOOL IsWindow(HWND window) {
    const BOOL result = Dev().windows.Exists(window);
    Dev().trace.Call("IsWindow", result, P(window));
    return result;
}

BOOL IsWindowVisible(HWND window) {
    // Visible only when it and every parent are.
    const sim::Window* w = Dev().windows.Get(window);
    BOOL result = w != nullptr;
    for (; w != nullptr; w = w->IsChild() ? Dev().windows.Get(w->parent) : nullptr)
        result = result && w->Visible();
    Dev().trace.Call("IsWindowVisible", result, P(window));
    return result;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = sim::DefaultProc(window, message, wParam, lParam);
    Dev().trace.Call("DefWindowProcW", result, P(window), sim::MessageArg{message}, wParam, lParam);
    return result;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = proc == nullptr ? 0 : proc(window, message, wParam, lParam);
    Dev().trace.Call("CallWindowProcW", result, P(window), sim::MessageArg{message}, wParam,
                     lParam);
    return result;
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    LONG_PTR value = 0;
    if (sim::Window* w = sim::LiveWindow(window)) {
        if (index >= 0)
            value = ReadExtra<LONG_PTR>(*w, index);
        else if (!ReadLong(*w, index, value))
            value = 0;
    }
    Dev().trace.Call("GetWindowLongPtrW", value, P(window), index);
    return value;
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    LONG_PTR old = 0;
    if (sim::Window* w = sim::LiveWindow(window)) {
        if (index >= 0)
            old = WriteExtra<LONG_PTR>(*w, index, value);
        else if (!WriteLong(*w, index, value, old))
            old = 0;
    }
    Dev().trace.Call("SetWindowLongPtrW", old, P(window), index, value);
    return old;
}

LONG GetWindowLongW(HWND window, int index) {
    LONG value = 0;
    if (sim::Window* w = sim::LiveWindow(window)) {
        LONG_PTR wide = 0;
        if (index >= 0)
            value = ReadExtra<LONG>(*w, index);
        else if (index == GWL_WNDPROC) // a procedure address does not fit in 32 bits here
            Dev().SetLastErrorValue(ERROR_INVALID_INDEX);
        else if (ReadLong(*w, index, wide))
            value = static_cast<LONG>(wide);
    }
    Dev().trace.Call("GetWindowLongW", value, P(window), index);
    return value;
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
    LONG old = 0;
    if (sim::Window* w = sim::LiveWindow(window)) {
        LONG_PTR wide = 0;
        if (index >= 0)
            old = WriteExtra<LONG>(*w, index, value);
        else if (index == GWL_WNDPROC)
            Dev().SetLastErrorValue(ERROR_INVALID_INDEX);
        else if (WriteLong(*w, index, value, wide))
            old = static_cast<LONG>(wide);
    }
    Dev().trace.Call("SetWindowLongW", old, P(window), index, value);
    return old;
}

HWND GetParent(HWND window) {
    HWND result = nullptr;
    if (const sim::Window* w = sim::LiveWindow(window)) {
        if (w->IsChild())
            result = w->parent;
        else if ((w->style & WS_POPUP) != 0)
            result = w->owner;
    }
    Dev().trace.Call("GetParent", P(result), P(window));
    return result;
}

HWND GetWindow(HWND window, UINT relation) {
    HWND result = nullptr;
    sim::WindowManager& wm = Dev().windows;
    if (const sim::Window* w = sim::LiveWindow(window)) {
        const std::vector<HWND>* siblings = wm.Siblings(window);
        std::size_t at = 0;
        if (siblings != nullptr)
            while (at < siblings->size() && (*siblings)[at] != window)
                ++at;
        switch (relation) {
        case GW_HWNDFIRST:
            result = siblings != nullptr && !siblings->empty() ? siblings->front() : nullptr;
            break;
        case GW_HWNDLAST:
            result = siblings != nullptr && !siblings->empty() ? siblings->back() : nullptr;
            break;
        case GW_HWNDNEXT:
            result =
                siblings != nullptr && at + 1 < siblings->size() ? (*siblings)[at + 1] : nullptr;
            break;
        case GW_HWNDPREV:
            result = siblings != nullptr && at > 0 && at < siblings->size() ? (*siblings)[at - 1]
                                                                            : nullptr;
            break;
        case GW_OWNER:
            result = w->owner;
            break;
        case GW_CHILD:
            result = w->children.empty() ? nullptr : w->children.front();
            break;
        default:
            Dev().SetLastErrorValue(ERROR_INVALID_PARAMETER);
            break;
        }
    }
    Dev().trace.Call("GetWindow", P(result), P(window), relation);
    return result;
}

int GetWindowTextW(HWND window, LPWSTR text, int maxCount) {
    const int result = sim::GetText(window, text, maxCount);
    Dev().trace.Call("GetWindowTextW", result, P(window), maxCount);
    return result;
}

int GetWindowTextLengthW(HWND window) {
    const int result = sim::GetTextLength(window);
    Dev().trace.Call("GetWindowTextLengthW", result, P(window));
    return result;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    const BOOL result = sim::SetText(window, text);
    Dev().trace.Call("SetWindowTextW", result, P(window), text);
    return result;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    // Top-level windows, hidden ones too, front to back; the caption compares whole and
    // without regard to letter case (CharLowerW's mapping), as Windows compares it.
    sim::WindowManager& wm = Dev().windows;
    HWND result = nullptr;
    if (className == nullptr && windowName != nullptr) {
        result = wm.FindCaption(windowName); // by the folded-caption index
    } else {
        for (HWND handle : wm.TopLevel()) {
            const sim::Window* w = wm.Get(handle);
            if (!ClassMatches(*w, className))
                continue;
            if (windowName != nullptr && !SameCaption(w->caption, windowName))
                continue;
            result = handle;
            break;
        }
    }
    Dev().trace.Call("FindWindowW", P(result), className, windowName);
    return result;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    BOOL result = FALSE;
    if (callback == nullptr) {
        Dev().SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else {
        // A snapshot: the callback may open or close windows.
        const std::vector<HWND> windows = Dev().windows.TopLevel();
        result = TRUE;
        for (HWND handle : windows) {
            if (!Dev().windows.Exists(handle))
                continue;
            if (!callback(handle, lParam)) {
                result = FALSE;
                break;
            }
        }
    }
    Dev().trace.Call("EnumWindows", result, reinterpret_cast<const void*>(callback), lParam);
    return result;
}
