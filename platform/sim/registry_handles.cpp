#include "platform/sim/registry_handles.h"

#include <utility>

namespace sim {

namespace {
constexpr std::size_t kFirstSlots = 16;
}

KeyHandles::KeyHandles() : slots_(kFirstSlots), mask_(kFirstSlots - 1) {}

std::vector<ULONG_PTR> KeyHandles::HeldBy(int process) const {
    std::vector<ULONG_PTR> held;
    for (const Entry& entry : slots_)
        if (entry.value != 0 && entry.process == process)
            held.push_back(entry.value);
    return held;
}

void KeyHandles::Grow() {
    std::vector<Entry> old = std::exchange(slots_, std::vector<Entry>(slots_.size() * 2));
    mask_ = slots_.size() - 1;
    count_ = 0;
    for (Entry& entry : old)
        if (entry.value != 0)
            Add(entry.value, entry.node, entry.process);
}

} // namespace sim
