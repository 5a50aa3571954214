// Posted messages of every simulated process, and the quit flag PostQuitMessage raises.
#pragma once

#include <deque>
#include <map>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/function_ref.h"

namespace sim {

class MessageQueues {
  public:
    using Match = FunctionRef<bool(const MSG&)>;

    void Post(int process, const MSG& msg);
    // Windows keeps the quit request as a flag, seen once the posted messages are gone.
    void PostQuit(int process, int exitCode);

    // The first posted message that `match` accepts; removed when `remove`.
    bool TakePosted(int process, Match match, bool remove, MSG& out);
    // The quit request as a WM_QUIT message; the flag is cleared when `remove`.
    bool TakeQuit(int process, bool remove, MSG& out);

    // Processes, other than `except`, with posted messages or a quit request.
    std::vector<int> BusyProcesses(int except) const;
    // A destroyed window's messages are dropped, as Windows drops them.
    void RemoveFor(HWND window);

  private:
    struct Queue {
        std::deque<MSG> posted;
        bool quit = false;
        int quitCode = 0;
    };
    std::map<int, Queue> queues_;
};

} // namespace sim
