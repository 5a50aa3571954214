// Timers on the virtual clock. A due timer produces WM_TIMER only when its process looks for a
// message and finds nothing posted, as on Windows; expiries missed meanwhile are not stacked.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/function_ref.h"

namespace sim {

// SetTimer's limits: shorter periods (0 included) run at the minimum, longer ones at the
// maximum, as Windows does since XP SP2.
constexpr UINT kTimerMinimum = 0x0000000A;
constexpr UINT kTimerMaximum = 0x7FFFFFFF;

struct Timer {
    HWND window = nullptr; // null: a thread timer of `process`
    UINT_PTR id = 0;
    int process = 0;
    UINT period = 0; // after clamping
    std::uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

class Timers {
  public:
    static UINT ClampPeriod(UINT period);

    // Starts or restarts a timer; returns its identifier. A thread timer (null window) whose
    // id names none of the process's thread timers gets a new identifier.
    UINT_PTR Set(int process, HWND window, UINT_PTR id, UINT period, TIMERPROC proc,
                 std::uint64_t now);
    bool Kill(int process, HWND window, UINT_PTR id);
    void KillAllOf(HWND window);

    // The earliest timer of `process` due at `now` that `match` accepts (ties: oldest first).
    Timer* Due(int process, FunctionRef<bool(const Timer&)> match, std::uint64_t now);
    // Next expiry after `now`, keeping the timer's cadence.
    static void Restart(Timer& timer, std::uint64_t now);

    std::optional<std::uint64_t> NextDue() const;
    std::optional<std::uint64_t> NextDue(int process) const;
    const Timer* Find(HWND window, UINT_PTR id) const;
    bool IsTimerProc(TIMERPROC proc) const;
    const std::vector<Timer>& All() const { return timers_; }

  private:
    std::vector<Timer> timers_;
    UINT_PTR nextThreadId_ = 0x7FFF;
};

} // namespace sim
