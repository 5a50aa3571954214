// The system idle timer: the handheld suspends after kTimeoutMs without user input or a reset
// by a program. The model never suspends; it counts resets and notes the moments the device
// would have suspended, so a test can tell whether a program kept it awake.
#pragma once

#include <cstdint>
#include <vector>

namespace model {

class IdleTimer {
  public:
    // Pocket PC's usual battery setting: suspend after 3 minutes without activity.
    static constexpr std::uint64_t kTimeoutMs = 3 * 60 * 1000;

    // SystemIdleTimerReset by a program at virtual time `now` (ms since boot).
    void Reset(std::uint64_t now);
    // The user touched the device: a reset that is no program's doing.
    void UserActivity(std::uint64_t now);

    int Resets() const { return resets_; }
    std::uint64_t LastReset() const { return lastReset_; }

    // When the device would have suspended had no program reset the idle timer since the
    // user's last activity.
    std::uint64_t SuspendWithoutResets() const { return lastActivity_ + kTimeoutMs; }
    // True when, at `now`, only programs' resets have kept the device from suspending.
    bool HeldAwakeByResets(std::uint64_t now) const;
    // Moments up to `now` at which the countdown ran out: the device would have suspended
    // then, resets or not.
    std::vector<std::uint64_t> Lapses(std::uint64_t now) const;

  private:
    void Restart(std::uint64_t now);

    int resets_ = 0;
    std::uint64_t lastReset_ = 0;
    std::uint64_t lastActivity_ = 0;
    std::vector<std::uint64_t> lapses_;
};

} // namespace model
