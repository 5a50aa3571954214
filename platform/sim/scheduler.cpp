#include "platform/sim/scheduler.h"

#include "platform/sim/device.h"

namespace sim {

Scheduler::Ticket Scheduler::At(std::uint64_t time, Action action, std::string label) {
    const Ticket ticket{time, nextSeq_++};
    items_.emplace(ticket, Item{time, std::move(label), std::move(action)});
    ended_ = false;
    return ticket;
}

Scheduler::Ticket Scheduler::After(std::uint64_t delay, Action action, std::string label) {
    return At(device_.Now() + delay, std::move(action), std::move(label));
}

Scheduler::Ticket Scheduler::AtNextWait(Action action, std::string label) {
    return At(device_.Now(), std::move(action), std::move(label));
}

bool Scheduler::Cancel(const Ticket& ticket) {
    return items_.erase(ticket) > 0;
}

void Scheduler::PreferAgendaNow() {
    prefer_ = true;
    preferAt_ = device_.Now();
}

bool Scheduler::HoldsTimers() const {
    return prefer_ && preferAt_ == device_.Now() && !items_.empty() &&
           items_.begin()->second.time <= device_.Now();
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
    ranItems_ = true;
    if (listener_)
        listener_(item);
    if (item.action)
        item.action();
    return true;
}

} // namespace sim
