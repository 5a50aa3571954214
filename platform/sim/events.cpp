#include "platform/sim/events.h"

#include <algorithm>
#include <cstdio>

#include "platform/sim/trace.h"

namespace sim {

namespace {
constexpr std::size_t kMaxNameLength = 260; // MAX_PATH, as the kernel limits object names
}

Events::Event* Events::FindMutable(const WString& name) {
    if (name.empty())
        return nullptr;
    for (auto& event : events_)
        if (event->name == name) // object names are case-sensitive
            return event.get();
    return nullptr;
}

const Events::Event* Events::Find(const WString& name) const {
    return const_cast<Events*>(this)->FindMutable(name);
}

bool Events::IsSignalled(const WString& name) const {
    const Event* event = Find(name);
    return event != nullptr && event->signalled;
}

HANDLE Events::Create(const WCHAR* name, bool manualReset, bool initialState, int process,
                      DWORD* error) {
    *error = ERROR_SUCCESS;
    WString text;
    if (name != nullptr) {
        for (const WCHAR* p = name; *p != 0; ++p) {
            if (text.size() >= kMaxNameLength) {
                *error = ERROR_FILENAME_EXCED_RANGE;
                return nullptr;
            }
            text.push_back(*p);
        }
    }
    if (auto failure = failures_.find(text); !text.empty() && failure != failures_.end()) {
        *error = failure->second;
        return nullptr;
    }
    Event* event = FindMutable(text);
    if (event != nullptr) {
        *error = ERROR_ALREADY_EXISTS;
    } else {
        auto created = std::make_unique<Event>();
        created->name = text;
        created->manualReset = manualReset;
        created->signalled = initialState;
        event = created.get();
        events_.push_back(std::move(created));
    }
    ++event->handles;
    const std::uintptr_t value = nextHandle_;
    nextHandle_ += 4; // values are never reused, so a stale handle is always caught
    handles_[value] = Handle{event, process};
    return reinterpret_cast<HANDLE>(value);
}

Events::Event* Events::Lookup(HANDLE handle, int process) {
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == handles_.end() || it->second.process != process)
        return nullptr;
    return it->second.event;
}

void Events::Release(Event* event) {
    if (event->handles > 0 || event->heldByDevice)
        return;
    events_.erase(std::remove_if(events_.begin(), events_.end(),
                                 [&](const std::unique_ptr<Event>& e) { return e.get() == event; }),
                  events_.end());
}

bool Events::Close(HANDLE handle, int process) {
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == handles_.end() || it->second.process != process)
        return false;
    Event* event = it->second.event;
    handles_.erase(it);
    --event->handles;
    Release(event);
    return true;
}

std::string Events::Describe(HANDLE handle) const {
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == handles_.end())
        return TraceArg(static_cast<const void*>(handle));
    const WString& name = it->second.event->name;
    if (name.empty())
        return "<event>";
    std::string text = "<";
    text += ToUtf8(name);
    text += '>';
    return text;
}

void Events::HoldForDevice(const WString& name, bool manualReset) {
    Event* event = FindMutable(name);
    if (event == nullptr) {
        auto created = std::make_unique<Event>();
        created->name = name;
        created->manualReset = manualReset;
        event = created.get();
        events_.push_back(std::move(created));
    }
    event->heldByDevice = true;
}

void Events::ReleaseForDevice(const WString& name) {
    if (Event* event = FindMutable(name)) {
        event->heldByDevice = false;
        Release(event);
    }
}

void Events::FailOpening(const WString& name, DWORD error) {
    if (error == 0)
        failures_.erase(name);
    else
        failures_[name] = error;
}

} // namespace sim
