#include "platform/sim/timers.h"

#include <algorithm>

namespace sim {

UINT Timers::ClampPeriod(UINT period) {
    return std::clamp(period, kTimerMinimum, kTimerMaximum);
}

UINT_PTR Timers::Set(int process, HWND window, UINT_PTR id, UINT period, TIMERPROC proc,
                     std::uint64_t now) {
    Timer* existing = nullptr;
    for (Timer& timer : timers_)
        if (timer.window == window && timer.id == id && timer.process == process &&
            (window != nullptr || id != 0))
            existing = &timer;
    if (existing == nullptr) {
        if (window == nullptr) {
            id = nextThreadId_;
            nextThreadId_ = nextThreadId_ > 0x100 ? nextThreadId_ - 1 : 0x7FFF;
        }
        timers_.push_back(Timer{window, id, process, 0, 0, nullptr});
        existing = &timers_.back();
    }
    existing->period = ClampPeriod(period);
    existing->due = now + existing->period;
    existing->proc = proc;
    return existing->id;
}

bool Timers::Kill(int process, HWND window, UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.window == window && timer.id == id && timer.process == process;
    });
    if (it == timers_.end())
        return false;
    timers_.erase(it);
    return true;
}

void Timers::KillAllOf(HWND window) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [window](const Timer& timer) { return timer.window == window; }),
                  timers_.end());
}

Timer* Timers::Due(int process, FunctionRef<bool(const Timer&)> match, std::uint64_t now) {
    Timer* best = nullptr;
    for (Timer& timer : timers_)
        if (timer.process == process && timer.due <= now && match(timer) &&
            (best == nullptr || timer.due < best->due))
            best = &timer;
    return best;
}

void Timers::Restart(Timer& timer, std::uint64_t now) {
    if (timer.due > now)
        return;
    const std::uint64_t missed = (now - timer.due) / timer.period;
    timer.due += (missed + 1) * timer.period;
}

std::optional<std::uint64_t> Timers::NextDue() const {
    std::optional<std::uint64_t> next;
    for (const Timer& timer : timers_)
        if (!next || timer.due < *next)
            next = timer.due;
    return next;
}

std::optional<std::uint64_t> Timers::NextDue(int process) const {
    std::optional<std::uint64_t> next;
    for (const Timer& timer : timers_)
        if (timer.process == process && (!next || timer.due < *next))
            next = timer.due;
    return next;
}

const Timer* Timers::Find(HWND window, UINT_PTR id) const {
    for (const Timer& timer : timers_)
        if (timer.window == window && timer.id == id)
            return &timer;
    return nullptr;
}

bool Timers::IsTimerProc(TIMERPROC proc) const {
    return proc != nullptr &&
           std::any_of(timers_.begin(), timers_.end(),
                       [proc](const Timer& timer) { return timer.proc == proc; });
}

} // namespace sim
