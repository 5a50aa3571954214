// Win32 message, timer and wait names of the simulated device.
#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/trace_arg.h"

using sim::Dev;

using sim::P;

namespace {

sim::MessageFilter Filter(HWND window, UINT first, UINT last) {
    return sim::MessageFilter{window, first, last};
}

} // namespace

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Synchronous, also to another process's window: its procedure runs as that process
    // before the call returns, with no time-out.
    const LRESULT result = sim::Send(window, message, wParam, lParam);
    Dev().trace.Call("SendMessageW", result, P(window), sim::MessageArg{message}, wParam, lParam);
    return result;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const BOOL result = sim::Post(window, message, wParam, lParam);
    Dev().trace.Call("PostMessageW", result, P(window), sim::MessageArg{message}, wParam, lParam);
    return result;
}

void PostQuitMessage(int exitCode) {
    Dev().windows.queues.PostQuit(Dev().CurrentProcess(), exitCode);
    Dev().trace.VoidCall("PostQuitMessage", exitCode);
}

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    BOOL result = -1;
    if (msg == nullptr) {
        Dev().SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else {
        switch (sim::Get(*msg, Filter(window, filterMin, filterMax))) {
        case sim::Fetch::Message:
            result = TRUE;
            break;
        case sim::Fetch::Quit:
            result = FALSE;
            break;
        case sim::Fetch::Stopped:
        case sim::Fetch::Error:
            result = -1;
            break;
        }
    }
    Dev().trace.Call("GetMessageW", result, P(window), filterMin, filterMax);
    return result;
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    BOOL result = FALSE;
    if (msg != nullptr)
        result = sim::Peek(*msg, Filter(window, filterMin, filterMax), (remove & PM_REMOVE) != 0);
    Dev().trace.Call("PeekMessageW", result, P(window), filterMin, filterMax, remove);
    return result;
}

BOOL WaitMessage() {
    sim::WaitForMessage();
    Dev().trace.Call("WaitMessage", TRUE);
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    const BOOL result = msg != nullptr && sim::Translate(*msg);
    Dev().trace.Call("TranslateMessage", result, P(msg));
    return result;
}

LRESULT DispatchMessageW(const MSG* msg) {
    const LRESULT result = msg == nullptr ? 0 : sim::Dispatch(*msg);
    Dev().trace.Call("DispatchMessageW", result, msg == nullptr ? nullptr : P(msg->hwnd),
                     sim::MessageArg{msg == nullptr ? 0u : msg->message});
    return result;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    // A period under USER_TIMER_MINIMUM (0 included) runs at 10 ms, one over
    // USER_TIMER_MAXIMUM at the maximum: the timer neither stops nor spins.
    UINT_PTR result = 0;
    sim::Device& device = Dev();
    const sim::Window* w = window == nullptr ? nullptr : device.windows.Get(window);
    if (window != nullptr && w == nullptr)
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    else if (w != nullptr && w->process != device.CurrentProcess())
        device.SetLastErrorValue(ERROR_ACCESS_DENIED);
    else {
        result = device.windows.timers.Set(device.CurrentProcess(), window, id, elapse, proc,
                                           device.Now());
        if (window != nullptr && result == 0)
            result = 1; // success is non-zero even for identifier 0
    }
    device.trace.Call("SetTimer", result, P(window), id, elapse,
                      reinterpret_cast<const void*>(proc));
    return result;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    sim::Device& device = Dev();
    BOOL result = FALSE;
    if (window != nullptr && !device.windows.Exists(window))
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    else
        result = device.windows.timers.Kill(device.CurrentProcess(), window, id);
    device.trace.Call("KillTimer", result, P(window), id);
    return result;
}

void Sleep(DWORD milliseconds) {
    sim::SleepFor(milliseconds);
    Dev().trace.VoidCall("Sleep", milliseconds);
}

DWORD GetTickCount() {
    const DWORD ticks = static_cast<DWORD>(Dev().Now()); // wraps after 49.7 days, as it does
    Dev().trace.Call("GetTickCount", ticks);
    return ticks;
}
