#include "platform/sim/scheduler.h"

#include "platform/sim/device.h"

namespace sim {

void Scheduler::At(std::uint64_t time, Action action, std::string label) {
    items_.emplace(std::make_pair(time, nextSeq_++),
                   Item{time, std::move(label), std::move(action)});
    ended_ = false;
}

void Scheduler::After(std::uint64_t delay, Action action, std::string label) {
    At(device_.Now() + delay, std::move(action), std::move(label));
}

void Scheduler::AtNextWait(Action action, std::string label) {
    At(device_.Now(), std::move(action), std::move(label));
}

std::optional<std::uint64_t> Scheduler::NextTime() const {
    if (items_.empty())
        return std::nullopt;
    return items_.begin()->second.time;
}

bool Scheduler::RunDueItem() {
    if (items_.empty() || items_.begin()->second.time > device_.Now())
        return false;
    // Taken off the agenda before it runs: an item may wait itself (a nested modal loop) and
    // so run later items from inside.
    Item item = std::move(items_.begin()->second);
    items_.erase(items_.begin());
    if (listener_)
        listener_(item);
    if (item.action)
        item.action();
    return true;
}

} // namespace sim
