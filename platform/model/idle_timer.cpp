#include "platform/model/idle_timer.h"

namespace model {

void IdleTimer::Restart(std::uint64_t now) {
    if (now > lastReset_ + kTimeoutMs)
        lapses_.push_back(lastReset_ + kTimeoutMs);
    if (now > lastReset_)
        lastReset_ = now;
}

void IdleTimer::Reset(std::uint64_t now) {
    ++resets_;
    Restart(now);
}

void IdleTimer::UserActivity(std::uint64_t now) {
    Restart(now);
    if (now > lastActivity_)
        lastActivity_ = now;
}

bool IdleTimer::HeldAwakeByResets(std::uint64_t now) const {
    if (now <= SuspendWithoutResets())
        return false;
    for (std::uint64_t lapse : Lapses(now))
        if (lapse >= SuspendWithoutResets())
            return false;
    return true;
}

std::vector<std::uint64_t> IdleTimer::Lapses(std::uint64_t now) const {
    std::vector<std::uint64_t> lapses = lapses_;
    if (now > lastReset_ + kTimeoutMs)
        lapses.push_back(lastReset_ + kTimeoutMs);
    return lapses;
}

} // namespace model
