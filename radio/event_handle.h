// A named event handle that closes itself, so the wake sequence releases every handle it
// opens on every path out of it. An event that could not be opened is simply left alone.
#pragma once

#include <utility>

#include "platform/platform.h"

class EventHandle {
  public:
    // Opens the event of that name, or creates it auto-reset and not signalled.
    explicit EventHandle(LPCWSTR name) : handle_(CreateEventW(nullptr, FALSE, FALSE, name)) {}
    ~EventHandle() { Close(); }
    EventHandle(const EventHandle&) = delete;
    EventHandle& operator=(const EventHandle&) = delete;

    // EventModify with EVENT_SET (3) or EVENT_RESET (2); nothing when the event is not open.
    void Modify(DWORD operation) {
        if (handle_ != nullptr)
            EventModify(handle_, operation);
    }

    void Close() {
        if (handle_ != nullptr)
            CloseHandle(std::exchange(handle_, nullptr));
    }

  private:
    HANDLE handle_;
};
