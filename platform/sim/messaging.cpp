#include "platform/sim/messaging.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/sim/device.h"
#include "platform/sim/window_ops.h"

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

bool EndRun();

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
    if (waiting && device.scheduler.RanOut() && EndRun() &&
        wm.queues.TakeQuit(process, remove, msg))
        return true;
    if (InRange(filter, WM_PAINT)) {
        HWND handle =
            wm.FirstToPaint(process, [&filter](HWND window) { return ForWindow(filter, window); });
        if (handle != nullptr) {
            msg = MSG{handle, WM_PAINT, 0, 0, static_cast<DWORD>(device.Now()), {}};
            return true;
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

Threads& Th() {
    return Dev().threads;
}

// True when a live thread takes `process`'s messages itself: a started program's thread, or
// whichever thread waits as that process now. The others are passive and always responsive.
bool Owned(int process) {
    for (const auto& thread : Th().All()) {
        if (!thread->alive)
            continue;
        if ((thread->index != 0 && thread->process == process) ||
            (thread->wait != nullptr && thread->wait->process == process))
            return true;
    }
    return false;
}

// Delivers one message of a passive process (one no thread waits as): those programs are
// always responsive. True when something was delivered.
bool ServicePassive() {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    std::vector<int> busy = wm.queues.BusyProcesses(0);
    for (const Timer& timer : wm.timers.All())
        if (timer.due <= device.Now())
            busy.push_back(timer.process);
    std::sort(busy.begin(), busy.end());
    for (int process : busy) {
        if (Owned(process))
            continue;
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

// The earliest future time at which a timer of `process` that `filter` lets through falls due
// (null filter: any of its timers).
std::uint64_t NextTimerOf(int process, const MessageFilter* filter) {
    Device& device = Dev();
    std::uint64_t next = kForever;
    for (const Timer& timer : device.windows.timers.All()) {
        if (timer.due <= device.Now() || timer.process != process)
            continue;
        if (filter != nullptr && (!InRange(*filter, WM_TIMER) || !ForWindow(*filter, timer.window)))
            continue;
        next = std::min(next, timer.due);
    }
    return next;
}

// The next time anything can happen: a timer that could end a thread's wait for a message, the
// end of a Sleep, a passive program's timer, the next agenda item.
std::uint64_t NextEvent() {
    Device& device = Dev();
    std::uint64_t next = kForever;
    for (const auto& thread : Th().All()) {
        const Wait* wait = thread->wait;
        if (!thread->alive || wait == nullptr)
            continue;
        if (wait->kind == Wait::Kind::Message)
            next = std::min(next, NextTimerOf(wait->process, &wait->filter));
        else if (wait->kind == Wait::Kind::Sleep && !wait->released && wait->until > device.Now())
            next = std::min(next, wait->until);
    }
    for (const Timer& timer : device.windows.timers.All())
        if (timer.due > device.Now() && !Owned(timer.process))
            next = std::min(next, timer.due);
    if (auto item = device.scheduler.NextTime())
        next = std::min(next, *item);
    return next;
}

bool TakesSentMessages(const Wait& wait) {
    return wait.kind != Wait::Kind::Sleep;
}

// Whether a blocked thread could go on now.
bool Ready(SimThread& thread) {
    if (!thread.alive)
        return false;
    if (!thread.started)
        return true;
    const Wait* wait = thread.wait;
    if (wait == nullptr)
        return false;
    if (TakesSentMessages(*wait) && !thread.inbox.empty())
        return true;
    Device& device = Dev();
    switch (wait->kind) {
    case Wait::Kind::Message: {
        Device::ProcessScope scope(device, wait->process);
        if (wait->stop != nullptr && (*wait->stop)())
            return true;
        MSG msg{};
        if (PeekFor(wait->process, msg, wait->filter, false))
            return true;
        const HWND window = wait->filter.window;
        return window != nullptr && window != reinterpret_cast<HWND>(-1) &&
               !device.windows.Exists(window);
    }
    case Wait::Kind::Sleep:
        return wait->released || device.Now() >= wait->until;
    case Wait::Kind::Reply:
        return *wait->replied;
    case Wait::Kind::World:
        return wait->stop != nullptr && (*wait->stop)();
    }
    return false;
}

// The thread to run after `self`: the first that could go on, in creation order after it
// (round robin), so that at one instant every thread has its turn before the agenda moves.
SimThread* NextReady(const SimThread& self) {
    const auto& all = Th().All();
    const std::size_t count = all.size();
    for (std::size_t k = 1; k < count; ++k) {
        SimThread& thread = *all[(static_cast<std::size_t>(self.index) + k) % count];
        if (Ready(thread))
            return &thread;
    }
    return nullptr;
}

// The agenda has run out: every thread waiting for a message gets WM_QUIT. False when none
// waits for one. A thread that is never idle (its timer due again whenever it looks) takes it
// from GetMessage ahead of its timer.
bool EndRun() {
    Device& device = Dev();
    bool posted = false;
    for (const auto& thread : Th().All()) {
        if (thread->alive && thread->wait != nullptr && thread->wait->kind == Wait::Kind::Message) {
            device.windows.queues.PostQuit(thread->wait->process, 0);
            posted = true;
        }
    }
    if (posted)
        device.scheduler.MarkEnded();
    return posted;
}

// Nothing is left to happen: an endless Sleep returns. False when none sleeps endlessly.
bool ReleaseEndlessSleeps() {
    bool released = false;
    for (const auto& thread : Th().All()) {
        Wait* wait = thread->wait;
        if (thread->alive && wait != nullptr && wait->kind == Wait::Kind::Sleep &&
            wait->until == kForever && !wait->released) {
            wait->released = true;
            released = true;
        }
    }
    return released;
}

// After the world has moved (an item ran, the clock went on), the threads it woke run in
// creation order: the first that can go on runs now, unless that is the current thread.
void FirstReadyRuns(SimThread& self) {
    for (const auto& thread : Th().All()) {
        if (thread.get() == &self)
            return;
        if (Ready(*thread)) {
            Th().SwitchTo(*thread);
            return;
        }
    }
}

// One step of the world while the current thread cannot go on: the next thread that can go
// on runs (round robin in creation order); else a passive program's message, a due agenda
// item, the end of the run, or the clock moving on. At one instant every thread's own work
// comes before the agenda.
void WaitStep() {
    Device& device = Dev();
    SimThread& self = Th().Current();
    if (SimThread* next = NextReady(self)) {
        Th().SwitchTo(*next);
        return;
    }
    if (ServicePassive() || device.scheduler.RunDueItem() ||
        (device.scheduler.Empty() && EndRun())) {
        FirstReadyRuns(self);
        return;
    }
    const std::uint64_t next = NextEvent();
    if (next == kForever) {
        if (ReleaseEndlessSleeps() || Ready(self)) {
            FirstReadyRuns(self);
            return;
        }
        std::fprintf(stderr,
                     "kipo: every simulated thread waits and nothing is left to wake one\n");
        std::abort();
    }
    device.SetNow(std::max(next, device.Now()));
    FirstReadyRuns(self);
}

// Registers what the current thread waits for while it waits.
class WaitScope {
  public:
    explicit WaitScope(Wait& wait) : thread_(Th().Current()), previous_(thread_.wait) {
        thread_.wait = &wait;
    }
    ~WaitScope() { thread_.wait = previous_; }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

  private:
    SimThread& thread_;
    Wait* previous_;
};

// Runs the window procedure on this thread, as the window's process.
LRESULT CallProcedure(const Window& target, UINT message, WPARAM wParam, LPARAM lParam) {
    Device& device = Dev();
    WNDPROC proc = target.proc;
    if (proc == nullptr)
        return 0;
    const HWND window = target.handle;
    if (target.process == device.CurrentProcess())
        return proc(window, message, wParam, lParam);
    Device::ProcessScope scope(device, target.process);
    return proc(window, message, wParam, lParam);
}

// The same for a handle, which may name a window gone meanwhile.
LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* target = LiveWindow(window);
    return target == nullptr ? 0 : CallProcedure(*target, message, wParam, lParam);
}

// Runs what other threads have sent to this thread's windows, oldest first.
void TakeSent(SimThread& self) {
    while (!self.inbox.empty()) {
        SentMessage* sent = self.inbox.front();
        self.inbox.pop_front();
        sent->result = CallProcedure(sent->window, sent->message, sent->wParam, sent->lParam);
        sent->replied = true;
    }
}

LRESULT SendToThread(SimThread& owner, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SentMessage sent{window, message, wParam, lParam, 0, false};
    owner.inbox.push_back(&sent);
    Wait wait;
    wait.kind = Wait::Kind::Reply;
    wait.process = Dev().CurrentProcess();
    wait.replied = &sent.replied;
    WaitScope scope(wait);
    SimThread& self = Th().Current();
    for (;;) {
        TakeSent(self);
        if (sent.replied)
            return sent.result;
        WaitStep();
    }
}

// A thread whose body has returned: what was sent to it is answered with 0, as for a thread
// that ends, and the baton goes to the next thread that can run, or else to the first live
// one, which works the world from its own wait.
void FinishThread() {
    SimThread& self = Th().Current();
    self.alive = false;
    for (SentMessage* sent : self.inbox)
        sent->replied = true;
    self.inbox.clear();
    SimThread* next = NextReady(self);
    if (next == nullptr)
        for (const auto& thread : Th().All())
            if (thread->alive) {
                next = thread.get();
                break;
            }
    Th().Leave(*next); // thread 0 never ends, so there is always one
}

// Waits as the outside world until `done`.
void WorldWait(const std::function<bool()>& done) {
    Wait wait;
    wait.kind = Wait::Kind::World;
    wait.process = Dev().CurrentProcess();
    wait.stop = &done;
    WaitScope scope(wait);
    SimThread& self = Th().Current();
    for (;;) {
        TakeSent(self);
        if (done())
            return;
        WaitStep();
    }
}

} // namespace

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* target = LiveWindow(window);
    if (target == nullptr || target->proc == nullptr)
        return 0;
    SimThread* owner = Th().OwnerOf(target->process);
    if (owner != nullptr && owner != &Th().Current())
        return SendToThread(*owner, window, message, wParam, lParam);
    return CallProcedure(*target, message, wParam, lParam);
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Device& device = Dev();
    int process = device.CurrentProcess();
    if (window != nullptr) {
        const Window* target = LiveWindow(window);
        if (target == nullptr)
            return false;
        process = target->process;
    }
    device.windows.queues.Post(
        process, MSG{window, message, wParam, lParam, static_cast<DWORD>(device.Now()), {}});
    return true;
}

bool Peek(MSG& msg, const MessageFilter& filter, bool remove) {
    TakeSent(Th().Current());
    return PeekFor(Dev().CurrentProcess(), msg, filter, remove);
}

Fetch Get(MSG& msg, const MessageFilter& filter, const std::function<bool()>& stop) {
    Device& device = Dev();
    const bool forWindow = filter.window != nullptr && filter.window != reinterpret_cast<HWND>(-1);
    if (forWindow && !device.windows.Exists(filter.window)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return Fetch::Error;
    }
    const int process = device.CurrentProcess();
    Wait wait;
    wait.kind = Wait::Kind::Message;
    wait.process = process;
    wait.filter = filter;
    wait.stop = stop ? &stop : nullptr;
    WaitScope scope(wait);
    SimThread& self = Th().Current();
    for (;;) {
        TakeSent(self);
        if (stop && stop())
            return Fetch::Stopped;
        if (PeekFor(process, msg, filter, true, true))
            return msg.message == WM_QUIT ? Fetch::Quit : Fetch::Message;
        if (forWindow && !device.windows.Exists(filter.window)) {
            device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
            return Fetch::Error; // the window it waited for went away meanwhile
        }
        WaitStep();
    }
}

void WaitForMessage() {
    const int process = Dev().CurrentProcess();
    Wait wait;
    wait.kind = Wait::Kind::Message;
    wait.process = process;
    WaitScope scope(wait);
    SimThread& self = Th().Current();
    MSG msg{};
    for (;;) {
        TakeSent(self);
        if (PeekFor(process, msg, MessageFilter{}, false, true))
            return;
        WaitStep();
    }
}

void SleepFor(DWORD milliseconds) {
    Device& device = Dev();
    Wait wait;
    wait.kind = Wait::Kind::Sleep;
    wait.process = device.CurrentProcess();
    wait.until = milliseconds == INFINITE ? kForever
                                          : device.Now() + static_cast<std::uint64_t>(milliseconds);
    WaitScope scope(wait);
    // An endless sleep with nothing left to happen would never return: the run is over.
    while (device.Now() < wait.until && !wait.released)
        WaitStep();
}

void StartThread(int process, std::function<void()> body) {
    Th().Start(process, [body = std::move(body)] {
        body();
        FinishThread();
    });
}

void RunUntilIdle() {
    Device& device = Dev();
    WorldWait([&device] { return device.scheduler.Empty() && !device.threads.AnyProgramAlive(); });
}

void EndThreads() {
    Device& device = Dev();
    if (!device.threads.AnyProgramAlive())
        return;
    for (const auto& thread : device.threads.All())
        if (thread->index != 0 && thread->alive)
            device.windows.queues.PostQuit(thread->process, 0);
    WorldWait([&device] { return !device.threads.AnyProgramAlive(); });
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
            device.windows.SetNeedsPaint(*window, false);
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
