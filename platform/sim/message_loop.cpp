#include "platform/sim/message_loop.h"

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"

namespace sim {

bool RunMessageLoopUntil(const std::function<bool()>& done,
                         const std::function<bool(MSG&)>& preTranslate) {
    MSG msg{};
    for (;;) {
        if (done && done())
            return true;
        switch (Get(msg, MessageFilter{}, done)) {
        case Fetch::Stopped:
            return true;
        case Fetch::Quit:
            Dev().windows.queues.PostQuit(Dev().CurrentProcess(), static_cast<int>(msg.wParam));
            return false;
        case Fetch::Error:
            return false;
        case Fetch::Message:
            break;
        }
        if (preTranslate && preTranslate(msg))
            continue;
        Translate(msg);
        Dispatch(msg);
    }
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        const Fetch fetched = Get(msg, MessageFilter{});
        if (fetched != Fetch::Message)
            return static_cast<int>(msg.wParam);
        Translate(msg);
        Dispatch(msg);
    }
}

} // namespace sim
