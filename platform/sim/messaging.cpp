#include "platform/sim/messaging.h"

#include <algorithm>
#include <limits>

#include "platform/sim/device.h"

namespace sim {

namespace {

constexpr std::uint64_t kForever = std::numeric_limits<std::uint64_t>::max();

bool InRange(const MessageFilter& filter, UINT message) {
    if (filter.first == 0 && filter.last == 0)
        return true;
    // A reversed range takes nothing (WM_QUIT aside, which no filter holds back), as on Wine.
    return message >= filter.first && message <= filter.last;
}

bool ForWindow(const MessageFilter& filter, HWND target) {
    if (filter.window == nullptr)
        return true;
    if (filter.window == reinterpret_cast<HWND>(-1))
        return target == nullptr;
    return target != nullptr && Dev().windows.IsSelfOrAncestor(filter.window, target);
}

// `waiting`: the process waits for its next message (GetMessage), so the end of a run whose
// agenda ran out reaches it here, after its posted messages and before paint and timers, as
// WM_QUIT does on Windows: a program whose timer is due again whenever it looks still ends.
bool PeekFor(int process, MSG& msg, const MessageFilter& filter, bool remove,
             bool waiting = false) {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    auto match = [&](const MSG& m) {
        return InRange(filter, m.message) && ForWindow(filter, m.hwnd);
    };
    if (wm.queues.TakePosted(process, match, remove, msg))
        return true;
    if (wm.queues.TakeQuit(process, remove, msg))
        return true;
    if (waiting && device.scheduler.RanOut()) {
        wm.queues.PostQuit(process, 0);
        device.scheduler.MarkEnded();
        if (wm.queues.TakeQuit(process, remove, msg))
            return true;
    }
    if (InRange(filter, WM_PAINT)) {
        // One stack for every tree: a fresh one per top-level window cost an allocation each.
        std::vector<HWND> stack;
        for (HWND top : wm.TopLevel()) {
            // Depth-first over the window tree: the first window waiting to be painted.
            stack.assign(1, top);
            while (!stack.empty()) {
                HWND handle = stack.back();
                stack.pop_back();
                const Window* window = wm.Get(handle);
                if (window == nullptr || !window->Visible())
                    continue;
                if (window->process == process && window->needsPaint && ForWindow(filter, handle)) {
                    msg = MSG{handle, WM_PAINT, 0, 0, static_cast<DWORD>(device.Now()), {}};
                    return true;
                }
                for (auto it = window->children.rbegin(); it != window->children.rend(); ++it)
                    stack.push_back(*it);
            }
        }
    }
    if (InRange(filter, WM_TIMER) && !device.scheduler.HoldsTimers()) {
        Timer* timer = wm.timers.Due(
            process, [&](const Timer& t) { return ForWindow(filter, t.window); }, device.Now());
        if (timer != nullptr) {
            msg = TimerMessage(timer->window, timer->id, timer->proc);
            if (remove)
                Timers::Restart(*timer, device.Now());
            return true;
        }
    }
    return false;
}

// Delivers one message of a process other than the waiting one: those programs are always
// responsive. True when something was delivered.
bool ServiceOtherProcess(int waiting) {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    std::vector<int> busy = wm.queues.BusyProcesses(waiting);
    for (const Timer& timer : wm.timers.All())
        if (timer.process != waiting && timer.due <= device.Now())
            busy.push_back(timer.process);
    std::sort(busy.begin(), busy.end());
    for (int process : busy) {
        MSG msg{};
        Device::ProcessScope scope(device, process);
        if (wm.queues.TakeQuit(process, true, msg))
            return true; // no loop of its own to end: the request is spent
        if (PeekFor(process, msg, MessageFilter{}, true)) {
            Dispatch(msg);
            return true;
        }
    }
    return false;
}

// The earliest future time at which a timer that could end this wait falls due.
std::uint64_t NextTimer(int waiting, const MessageFilter* filter) {
    Device& device = Dev();
    std::uint64_t next = kForever;
    for (const Timer& timer : device.windows.timers.All()) {
        if (timer.due <= device.Now())
            continue;
        if (timer.process == waiting &&
            (filter == nullptr || !InRange(*filter, WM_TIMER) || !ForWindow(*filter, timer.window)))
            continue;
        next = std::min(next, timer.due);
    }
    return next;
}

// One step of the world while `waiting` waits for a message: another process's message, a
// due agenda item, the end of the run, or the clock moving on.
void WaitStep(int waiting, const MessageFilter& filter) {
    Device& device = Dev();
    if (ServiceOtherProcess(waiting))
        return;
    if (device.scheduler.RunDueItem())
        return;
    if (device.scheduler.Empty()) {
        device.windows.queues.PostQuit(waiting, 0);
        device.scheduler.MarkEnded();
        return;
    }
    std::uint64_t next = std::min(NextTimer(waiting, &filter), *device.scheduler.NextTime());
    device.SetNow(std::max(next, device.Now()));
}

} // namespace

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Device& device = Dev();
    const Window* target = device.windows.Get(window);
    if (target == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WNDPROC proc = target->proc;
    if (proc == nullptr)
        return 0;
    if (target->process == device.CurrentProcess())
        return proc(window, message, wParam, lParam);
    Device::ProcessScope scope(device, target->process);
    return proc(window, message, wParam, lParam);
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Device& device = Dev();
    int process = device.CurrentProcess();
    if (window != nullptr) {
        const Window* target = device.windows.Get(window);
        if (target == nullptr) {
            device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
            return false;
        }
        process = target->process;
    }
    device.windows.queues.Post(
        process, MSG{window, message, wParam, lParam, static_cast<DWORD>(device.Now()), {}});
    return true;
}

bool Peek(MSG& msg, const MessageFilter& filter, bool remove) {
    return PeekFor(Dev().CurrentProcess(), msg, filter, remove);
}

Fetch Get(MSG& msg, const MessageFilter& filter, const std::function<bool()>& stop) {
    Device& device = Dev();
    if (filter.window != nullptr && filter.window != reinterpret_cast<HWND>(-1) &&
        !device.windows.Exists(filter.window)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return Fetch::Error;
    }
    const int process = device.CurrentProcess();
    for (;;) {
        if (stop && stop())
            return Fetch::Stopped;
        if (PeekFor(process, msg, filter, true, true))
            return msg.message == WM_QUIT ? Fetch::Quit : Fetch::Message;
        if (filter.window != nullptr && filter.window != reinterpret_cast<HWND>(-1) &&
            !device.windows.Exists(filter.window)) {
            device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
            return Fetch::Error; // the window it waited for went away meanwhile
        }
        WaitStep(process, filter);
    }
}

void WaitForMessage() {
    const int process = Dev().CurrentProcess();
    MSG msg{};
    while (!PeekFor(process, msg, MessageFilter{}, false, true))
        WaitStep(process, MessageFilter{});
}

void SleepFor(DWORD milliseconds) {
    Device& device = Dev();
    const int process = device.CurrentProcess();
    const std::uint64_t end = milliseconds == INFINITE
                                  ? kForever
                                  : device.Now() + static_cast<std::uint64_t>(milliseconds);
    while (device.Now() < end) {
        if (ServiceOtherProcess(process))
            continue;
        if (device.scheduler.RunDueItem())
            continue;
        std::uint64_t next = std::min(end, NextTimer(process, nullptr));
        if (auto item = device.scheduler.NextTime())
            next = std::min(next, *item);
        // An endless sleep with nothing left to happen would never return: the run is over.
        if (next == kForever)
            return;
        device.SetNow(std::max(next, device.Now()));
    }
}

LRESULT Dispatch(const MSG& msg) {
    Device& device = Dev();
    if (msg.message == WM_TIMER && msg.lParam != 0) {
        // Only a procedure some timer was set with is called, as Windows checks.
        auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
        if (device.windows.timers.IsTimerProc(proc))
            proc(msg.hwnd, WM_TIMER, msg.wParam, static_cast<DWORD>(device.Now()));
        return 0;
    }
    if (msg.hwnd == nullptr)
        return 0;
    if (!device.windows.Exists(msg.hwnd)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LRESULT result = Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    if (msg.message == WM_PAINT) {
        // A procedure that does not validate would get WM_PAINT forever; the device validates
        // for it rather than spin.
        if (Window* window = device.windows.Get(msg.hwnd))
            window->needsPaint = false;
    }
    return result;
}

bool Translate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
        return false;
    const WPARAM key = msg.wParam;
    WPARAM ch = 0;
    if (key >= 'A' && key <= 'Z')
        ch = key - 'A' + 'a';
    else if ((key >= '0' && key <= '9') || key == ' ' || key == VK_RETURN || key == VK_ESCAPE ||
             key == VK_BACK || key == VK_TAB)
        ch = key;
    if (msg.message == WM_KEYDOWN && ch != 0)
        Post(msg.hwnd, WM_CHAR, ch, msg.lParam);
    return true;
}

MSG TimerMessage(HWND window, UINT_PTR id, TIMERPROC proc) {
    return MSG{
        window, WM_TIMER, id, reinterpret_cast<LPARAM>(proc), static_cast<DWORD>(Dev().Now()), {}};
}

} // namespace sim
