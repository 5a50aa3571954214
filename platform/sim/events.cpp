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

// Opens the object of that name or makes a new one of the kind asked for; `opened` is the
// object behind the new handle.
HANDLE Events::Open(const WCHAR* name, bool mutex, int process, DWORD* error, Event** opened) {
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
    if (event != nullptr && event->mutex != mutex) {
        // Events and mutexes share one name space: the name is taken by the other kind.
        *error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (event != nullptr) {
        *error = ERROR_ALREADY_EXISTS;
    } else {
        auto created = std::make_unique<Event>();
        created->name = text;
        created->mutex = mutex;
        event = created.get();
        events_.push_back(std::move(created));
    }
    ++event->handles;
    const std::uintptr_t value = nextHandle_;
    nextHandle_ += 4; // values are never reused, so a stale handle is always caught
    handles_[value] = Handle{event, process};
    *opened = event;
    return reinterpret_cast<HANDLE>(value);
}

HANDLE Events::Create(const WCHAR* name, bool manualReset, bool initialState, int process,
                      DWORD* error) {
    Event* event = nullptr;
    HANDLE handle = Open(name, false, process, error, &event);
    if (handle != nullptr && *error != ERROR_ALREADY_EXISTS) {
        // An existing event keeps its kind and state.
        event->manualReset = manualReset;
        event->signalled = initialState;
    }
    return handle;
}

HANDLE Events::CreateMutex(const WCHAR* name, bool initialOwner, int process, DWORD* error) {
    Event* mutex = nullptr;
    HANDLE handle = Open(name, true, process, error, &mutex);
    if (handle != nullptr && *error != ERROR_ALREADY_EXISTS && initialOwner)
        mutex->owner = process;
    return handle;
}

Events::Event* Events::Lookup(HANDLE handle, int process) {
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == handles_.end() || it->second.process != process || it->second.event->mutex)
        return nullptr;
    return it->second.event;
}

const Events::Event* Events::Object(HANDLE handle, int process) const {
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
    if (event->mutex && event->owner == process) {
        bool stillHeld = false;
        for (const auto& [value, other] : handles_)
            stillHeld = stillHeld || (other.event == event && other.process == process);
        if (!stillHeld)
            event->owner = 0;
    }
    Release(event);
    return true;
}

std::string Events::Describe(HANDLE handle) const {
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == handles_.end())
        return TraceArg(static_cast<const void*>(handle));
    const WString& name = it->second.event->name;
    if (name.empty())
        return it->second.event->mutex ? "<mutex>" : "<event>";
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
