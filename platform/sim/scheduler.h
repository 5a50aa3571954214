// The device's agenda: what the outside world does (a window opens, a key is pressed, a test
// checks something), each item due at a virtual time. Items run only while the program waits:
// in GetMessageW or WaitMessage with nothing to retrieve, or in Sleep. Waiting runs the next
// due item, or else moves the clock to the earliest of the next timer, the next item and the
// end of the Sleep. At one instant the program's own due work (timers, the end of a Sleep)
// comes first and the agenda after it, so an item finds everything the previous one caused
// already processed. When the agenda is empty and the program waits for a message, the run
// ends: WM_QUIT is posted to the waiting process.
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
    void At(std::uint64_t time, Action action, std::string label = {});
    void After(std::uint64_t delay, Action action, std::string label = {});
    // Due now: runs at the program's next wait.
    void AtNextWait(Action action, std::string label = {});

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

  private:
    Device& device_;
    std::map<std::pair<std::uint64_t, std::uint64_t>, Item> items_;
    std::uint64_t nextSeq_ = 0;
    bool ended_ = false;
    std::function<void(const Item&)> listener_;
};

} // namespace sim
