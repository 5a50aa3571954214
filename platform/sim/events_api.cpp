// CreateEventW, EventModify, SetEvent, ResetEvent, CreateMutexW and CloseHandle of the simulated
// device.
// Setting an event wakes the device's WLAN software when it waits on that name.
#include "platform/platform.h"
#include "platform/sim/device.h"

namespace {

// Applies set (3), reset (2) or pulse (1); false with the last error set when it cannot.
BOOL Modify(HANDLE handle, DWORD func) {
    sim::Device& dev = sim::Dev();
    sim::Events::Event* event = dev.events.Lookup(handle, dev.CurrentProcess());
    if (event == nullptr) {
        dev.SetLastErrorValue(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    switch (func) {
    case EVENT_SET:
    case EVENT_PULSE: {
        ++event->sets;
        const bool taken = !event->name.empty() && dev.handheld.wlan.OnEventSignalled(event->name);
        // An auto-reset event releases one waiter and falls back; a manual-reset one stays
        // set; a pulse never leaves the event set.
        event->signalled = func == EVENT_SET && (event->manualReset || !taken);
        return TRUE;
    }
    case EVENT_RESET:
        ++event->resets;
        event->signalled = false;
        if (!event->name.empty())
            dev.handheld.wlan.OnEventReset(event->name);
        return TRUE;
    default:
        dev.SetLastErrorValue(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

// Modifies the event and records the call under `name`, describing the handle as it was
// before; `extra` are the call's arguments after the handle.
template <class... Extra>
BOOL TracedModify(sim::TraceName name, HANDLE event, DWORD func, const Extra&... extra) {
    sim::Device& dev = sim::Dev();
    const std::string described = dev.events.Describe(event);
    const BOOL result = Modify(event, func);
    dev.trace.Call(name, result, described, extra...);
    return result;
}

} // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name) {
    sim::Device& dev = sim::Dev();
    DWORD error = ERROR_NOT_ENOUGH_MEMORY;
    HANDLE handle = nullptr;
    if (!dev.faults.createEvent) {
        error = ERROR_SUCCESS;
        handle = dev.events.Create(name, manualReset != 0, initialState != 0, dev.CurrentProcess(),
                                   &error);
    }
    if (handle != nullptr)
        dev.HandleOpened(sim::HandleKind::Event, dev.CurrentProcess());
    dev.SetLastErrorValue(error);
    dev.trace.Call("CreateEventW", dev.events.Describe(handle),
                   static_cast<const void*>(attributes), manualReset, initialState, name);
    return handle;
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name) {
    sim::Device& dev = sim::Dev();
    DWORD error = ERROR_SUCCESS;
    HANDLE handle = dev.events.CreateMutex(name, initialOwner != 0, dev.CurrentProcess(), &error);
    if (handle != nullptr)
        dev.HandleOpened(sim::HandleKind::Mutex, dev.CurrentProcess());
    dev.SetLastErrorValue(error);
    dev.trace.Call("CreateMutexW", dev.events.Describe(handle),
                   static_cast<const void*>(attributes), initialOwner, name);
    return handle;
}

BOOL EventModify(HANDLE event, DWORD func) {
    return TracedModify("EventModify", event, func, func);
}

BOOL SetEvent(HANDLE event) {
    return TracedModify("SetEvent", event, EVENT_SET);
}

BOOL ResetEvent(HANDLE event) {
    return TracedModify("ResetEvent", event, EVENT_RESET);
}

BOOL CloseHandle(HANDLE object) {
    sim::Device& dev = sim::Dev();
    const std::string described = dev.events.Describe(object);
    const sim::Events::Event* closing = dev.events.Object(object, dev.CurrentProcess());
    const sim::HandleKind kind =
        closing != nullptr && closing->mutex ? sim::HandleKind::Mutex : sim::HandleKind::Event;
    const bool closed = dev.events.Close(object, dev.CurrentProcess());
    if (closed)
        dev.HandleClosed(kind, dev.CurrentProcess());
    else
        dev.SetLastErrorValue(ERROR_INVALID_HANDLE);
    dev.trace.Call("CloseHandle", closed ? TRUE : FALSE, described);
    return closed ? TRUE : FALSE;
}
