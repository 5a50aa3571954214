// Named and unnamed event objects of the simulated device, with per-process handles, and the
// named mutexes that share their name space. A named object lives while some handle (or the
// device's own software) holds it; opening an existing name gives a new handle to the same
// object, and a name taken by the other kind of object cannot be opened.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace sim {

class Events {
  public:
    struct Event {
        WString name; // empty: unnamed
        bool manualReset = false;
        bool signalled = false;
        int handles = 0;
        bool mutex = false;        // a mutex (CreateMutexW), not an event
        int owner = 0;             // mutex: the process that owns it (0: none)
        bool heldByDevice = false; // the device's own software keeps it open
        int sets = 0;              // set or pulse operations, from any process
        int resets = 0;
    };

    // CreateEventW: opens the event of that name (error ERROR_ALREADY_EXISTS, the existing
    // event keeps its kind and state) or creates it. Null with `error` set on failure.
    HANDLE Create(const WCHAR* name, bool manualReset, bool initialState, int process,
                  DWORD* error);
    // CreateMutexW: the same for a mutex; a new one is owned by `process` when
    // `initialOwner`. A running program holds one for its whole run to be known by name.
    HANDLE CreateMutex(const WCHAR* name, bool initialOwner, int process, DWORD* error);
    // The event behind a handle of `process`, or null when the handle is not one.
    Event* Lookup(HANDLE handle, int process);
    // The object (event or mutex) behind a handle of `process`, or null.
    const Event* Object(HANDLE handle, int process) const;
    // Closes a handle of `process`; false when it is not an open handle of it. A mutex whose
    // owner closes its last handle is abandoned: owned by nobody.
    bool Close(HANDLE handle, int process);
    // "<name>" (or "<event>" when unnamed) for a live event handle, else the raw value; traces
    // show this so they read the same on every run.
    std::string Describe(HANDLE handle) const;

    // Device side: an event that the device's own software creates and keeps open.
    void HoldForDevice(const WString& name, bool manualReset);
    // The device's software lets go of it; it ends with the last handle.
    void ReleaseForDevice(const WString& name);
    // CreateEventW of `name` fails with `error` from now on (a name taken by another kind of
    // object answers ERROR_INVALID_HANDLE); error 0 lets it succeed again.
    void FailOpening(const WString& name, DWORD error);

    const Event* Find(const WString& name) const;
    bool Exists(const WString& name) const { return Find(name) != nullptr; }
    bool IsSignalled(const WString& name) const;

  private:
    struct Handle {
        Event* event = nullptr;
        int process = 0;
    };
    Event* FindMutable(const WString& name);
    HANDLE Open(const WCHAR* name, bool mutex, int process, DWORD* error, Event** opened);
    void Release(Event* event);

    std::vector<std::unique_ptr<Event>> events_;
    std::map<std::uintptr_t, Handle> handles_;
    std::map<WString, DWORD> failures_;
    std::uintptr_t nextHandle_ = 0x00E0004;
};

} // namespace sim
