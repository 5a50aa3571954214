// The registry's open key handles: each handle value with the process that holds it and the
// key it stands for (held, so that a key deleted while open stays to answer ERROR_KEY_DELETED).
//
// Programs open a key, read it and close it again on every check, so a handle lives briefly
// and few are open at once. The table is open-addressed by the handle's value: handles are
// given out in steps of four, so consecutive ones fall in consecutive slots, and opening,
// finding and closing one costs a few comparisons and no allocation once the table has grown
// to the most handles ever open together.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace sim {

struct RegKeyNode;

class KeyHandles {
  public:
    struct Entry {
        ULONG_PTR value = 0; // 0: a free slot (no handle has the value of NULL)
        int process = 0;
        std::shared_ptr<RegKeyNode> node;
    };

    KeyHandles();

    // The open handle `value`, or null.
    Entry* Find(ULONG_PTR value) {
        if (value == 0)
            return nullptr;
        for (std::size_t i = Home(value);; i = Next(i)) {
            Entry& entry = slots_[i];
            if (entry.value == value)
                return &entry;
            if (entry.value == 0)
                return nullptr;
        }
    }
    const Entry* Find(ULONG_PTR value) const { return const_cast<KeyHandles*>(this)->Find(value); }

    // `value` must not be open already, nor 0.
    void Add(ULONG_PTR value, const std::shared_ptr<RegKeyNode>& node, int process) {
        if ((count_ + 1) * 2 > slots_.size())
            Grow();
        std::size_t i = Home(value);
        while (slots_[i].value != 0)
            i = Next(i);
        Entry& entry = slots_[i];
        entry.value = value;
        entry.process = process;
        entry.node = node;
        ++count_;
    }

    // `entry` is one Find returned; it and any other Entry pointer are invalid afterwards.
    // Linear probing with no markers of removed entries: the entries after the hole that could
    // have been placed in it move back, so that every entry stays reachable from its home slot
    // without a free slot between.
    void Erase(Entry* entry) {
        std::size_t hole = static_cast<std::size_t>(entry - slots_.data());
        for (std::size_t i = Next(hole); slots_[i].value != 0; i = Next(i)) {
            const std::size_t home = Home(slots_[i].value);
            // The entry stays when its home lies cyclically in (hole, i].
            const bool stays = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
            if (!stays) {
                slots_[hole] = std::move(slots_[i]);
                hole = i;
            }
        }
        slots_[hole].value = 0;
        slots_[hole].node.reset();
        --count_;
    }

    // Handles `process` holds, in no particular order.
    std::vector<ULONG_PTR> HeldBy(int process) const;

  private:
    std::size_t Home(ULONG_PTR value) const { return (value >> 2) & mask_; }
    std::size_t Next(std::size_t i) const { return (i + 1) & mask_; }
    void Grow();

    std::vector<Entry> slots_; // a power of two in size, never more than half full
    std::size_t mask_ = 0;     // slots_.size() - 1
    std::size_t count_ = 0;
};

} // namespace sim
