#include "platform/sim/message_queues.h"

#include <algorithm>

namespace sim {

void MessageQueues::Post(int process, const MSG& msg) {
    queues_[process].posted.push_back(msg);
}

void MessageQueues::PostQuit(int process, int exitCode) {
    Queue& queue = queues_[process];
    queue.quit = true;
    queue.quitCode = exitCode;
}

bool MessageQueues::TakePosted(int process, Match match, bool remove, MSG& out) {
    auto it = queues_.find(process);
    if (it == queues_.end())
        return false;
    std::deque<MSG>& posted = it->second.posted;
    for (auto msg = posted.begin(); msg != posted.end(); ++msg) {
        if (!match(*msg))
            continue;
        out = *msg;
        if (remove)
            posted.erase(msg);
        return true;
    }
    return false;
}

bool MessageQueues::TakeQuit(int process, bool remove, MSG& out) {
    auto it = queues_.find(process);
    if (it == queues_.end() || !it->second.quit)
        return false;
    out = MSG{};
    out.message = WM_QUIT;
    out.wParam = static_cast<WPARAM>(static_cast<LONG_PTR>(it->second.quitCode));
    if (remove)
        it->second.quit = false;
    return true;
}

std::vector<int> MessageQueues::BusyProcesses(int except) const {
    std::vector<int> busy;
    for (const auto& [process, queue] : queues_)
        if (process != except && (!queue.posted.empty() || queue.quit))
            busy.push_back(process);
    return busy;
}

void MessageQueues::RemoveFor(HWND window) {
    for (auto& [process, queue] : queues_) {
        auto& posted = queue.posted;
        posted.erase(std::remove_if(posted.begin(), posted.end(),
                                    [window](const MSG& msg) { return msg.hwnd == window; }),
                     posted.end());
    }
}

} // namespace sim
