// The device's agenda: what the outside world does (a window opens, a key is pressed, a test
// checks something), each item due at a virtual time. Items run only while the program waits:
// in GetMessageW or WaitMessage with nothing to retrieve, or in Sleep. Waiting runs the next
// due item, or else moves the clock to the earliest of the next timer, the next item and the
// end of the Sleep. At one instant the program's own due work (timers, the end of a Sleep)
// comes first and the agenda after it, so an item finds everything the previous one caused
// already processed; an instant marked with PreferAgendaNow reverses that for timers (a wait
// by ticks ends right after its last tick, even when the timer is due again by then). When the
// agenda has run out, the run ends at the program's next wait for a message: WM_QUIT comes
// after its posted messages and before paint and timer messages, as on Windows, so a program
// that is never idle still ends.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace sim {

class Device;

class Scheduler {
  public:
    using Action = std::function<void()>;
    struct Item {
        std::uint64_t time = 0;
        std::string label; // for timelines and failure messages; may be empty
        Action action;
    };

    explicit Scheduler(Device& device) : device_(device) {}
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Due at `time` (virtual ms since boot); a time already past is due at once. Items due at
    // the same time run in the order they were added.
    // An item's place on the agenda, to take it off again.
    using Ticket = std::pair<std::uint64_t, std::uint64_t>;
    Ticket At(std::uint64_t time, Action action, std::string label = {});
    Ticket After(std::uint64_t delay, Action action, std::string label = {});
    // Due now: runs at the program's next wait.
    Ticket AtNextWait(Action action, std::string label = {});
    // Takes an item off the agenda; false when it has run or was never there.
    bool Cancel(const Ticket& ticket);

    // At the current instant, items due now come before the timers of every process: a
    // program whose timer is due again when it returns from a message waits for them first.
    // Ends by itself once the clock moves or no item is due.
    void PreferAgendaNow();
    bool HoldsTimers() const;

    bool Empty() const { return items_.empty(); }
    std::size_t Pending() const { return items_.size(); }
    std::optional<std::uint64_t> NextTime() const;
    // True once the agenda ran out while the program waited for a message.
    bool RunEnded() const { return ended_; }
    // Called just before each item runs (kipo-sim prints its timeline from it).
    void SetItemListener(std::function<void(const Item&)> listener) {
        listener_ = std::move(listener);
    }

    // For the waiting platform calls: runs the first item due now; false when none is due.
    bool RunDueItem();
    void MarkEnded() { ended_ = true; }
    // True once when the agenda has run out since the run's end was last delivered: the
    // program's next GetMessage then takes WM_QUIT once its posted messages are done, rather
    // than when nothing at all is left to do.
    bool RanOut() const { return items_.empty() && !ended_ && ranItems_; }

  private:
    Device& device_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, Item> items_;
    std::uint64_t nextSeq_ = 0;
    bool ended_ = false;
    bool ranItems_ = false;
    bool prefer_ = false;
    std::uint64_t preferAt_ = 0;
    std::function<void(const Item&)> listener_;
};

} // namespace sim
