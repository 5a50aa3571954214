// Win32 hot-key and key-state names of the simulated device.
#include "platform/sim/device.h"
#include "platform/sim/trace_arg.h"

using sim::Dev;

using sim::P;

BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey) {
    sim::Device& device = Dev();
    DWORD error = 0;
    const sim::Window* w = window == nullptr ? nullptr : device.windows.Get(window);
    if (window != nullptr && w == nullptr)
        error = ERROR_INVALID_WINDOW_HANDLE;
    else if (w != nullptr && w->process != device.CurrentProcess())
        error = ERROR_WINDOW_OF_OTHER_THREAD;
    else
        error = device.windows.hotKeys.Register(window, id, modifiers, virtualKey,
                                                device.CurrentProcess());
    if (error != 0)
        device.SetLastErrorValue(error);
    const BOOL result = error == 0;
    device.trace.Call("RegisterHotKey", result, P(window), id, modifiers, virtualKey);
    return result;
}

BOOL UnregisterHotKey(HWND window, int id) {
    sim::Device& device = Dev();
    const DWORD error = device.windows.hotKeys.Unregister(window, id, device.CurrentProcess());
    if (error != 0)
        device.SetLastErrorValue(error);
    const BOOL result = error == 0;
    device.trace.Call("UnregisterHotKey", result, P(window), id);
    return result;
}

BOOL UnregisterFunc1(UINT modifiers, UINT virtualKey) {
    const BOOL result = Dev().windows.hotKeys.Release(modifiers, virtualKey) > 0;
    Dev().trace.Call("UnregisterFunc1", result, modifiers, virtualKey);
    return result;
}

SHORT GetAsyncKeyState(int virtualKey) {
    const bool down =
        virtualKey >= 0 && Dev().windows.hotKeys.IsDown(static_cast<UINT>(virtualKey));
    const SHORT result = down ? static_cast<SHORT>(0x8000) : static_cast<SHORT>(0);
    Dev().trace.Call("GetAsyncKeyState", result, virtualKey);
    return result;
}
