// The simulated device's threads. Each running program has one thread, as on the device, and
// each is a host thread of its own (its own stack and thread-local state, so programs started
// close together really run side by side) that holds a baton to run: exactly one runs at a
// time, and the baton passes only where Windows would let another thread run: waiting for a
// message (GetMessageW, WaitMessage, modal loops), Sleep, a send to another thread's window.
// Who runs next is decided in messaging.cpp from virtual time and creation order, so every run
// repeats exactly. Thread 0 is the host thread that made the device: a test's own code, or
// kipo-sim's outside world.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace sim {

class Device;

struct MessageFilter {
    HWND window = nullptr; // null: any; (HWND)-1: messages without a window; else it or children
    UINT first = 0;
    UINT last = 0; // both 0: every message
};

// What a blocked thread waits for. Set while it waits, so that whoever holds the baton can
// tell whether it could go on.
struct Wait {
    enum class Kind {
        Message, // GetMessageW, WaitMessage, a modal loop: a message for `process`, or `stop`
        Sleep,   // Sleep: the clock reaching `until`
        Reply,   // SendMessageW to another thread's window: `*replied`
        World,   // the outside world's own wait (kipo-sim, device shutdown): `stop`
    };
    Kind kind = Kind::Message;
    int process = 0; // the process it waits as
    MessageFilter filter;
    const std::function<bool()>* stop = nullptr;
    std::uint64_t until = 0;
    bool released = false; // an endless Sleep let go: nothing is left to happen
    const bool* replied = nullptr;
};

// A message sent to a window of another thread: that thread runs the window's procedure when
// it next waits for a message or a reply (not while it sleeps), as Windows delivers it.
struct SentMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool replied = false;
};

struct SimThread {
    int index = 0;   // creation order; 0 is the host thread that made the device
    int process = 0; // the program whose thread it is (0: none)
    bool alive = true;
    bool started = true; // false until it first runs
    Wait* wait = nullptr;
    std::deque<SentMessage*> inbox;
    std::function<void()> body;
    // Kept while another thread runs: its current process and last error.
    int savedProcess = 0;
    DWORD savedError = 0;
    std::condition_variable turn;
    std::thread host; // not used for thread 0
};

class Threads {
  public:
    // Thread 0 is the calling host thread, running, with `hostProcess` as its own program.
    Threads(Device& device, int hostProcess);
    // Every thread other than 0 must have ended (Device ends the programs first).
    ~Threads();
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;

    SimThread& Current() { return *running_; }
    const std::vector<std::unique_ptr<SimThread>>& All() const { return threads_; }
    // A new thread for `process` that will run `body`; it first runs when the running thread
    // passes the baton. `body` must end by passing the baton on (Leave).
    SimThread& Start(int process, std::function<void()> body);
    // Thread 0's own program (0: none, as for kipo-sim, whose programs all have threads).
    void SetHostProcess(int process) { threads_.front()->process = process; }

    // The live thread that runs the procedures of `process`'s windows, or null: the windows
    // of a process without a thread (the shell, other programs' windows) answer on the
    // caller's thread.
    SimThread* OwnerOf(int process) const;
    // True while some thread other than 0 has not ended.
    bool AnyProgramAlive() const;

    // Passes the baton to `next` and blocks until it comes back.
    void SwitchTo(SimThread& next);
    // The running thread ends: passes the baton to `next` and never takes it again.
    void Leave(SimThread& next);

  private:
    void Restore(SimThread& thread);

    Device& device_;
    std::mutex mutex_;
    SimThread* running_ = nullptr;
    std::vector<std::unique_ptr<SimThread>> threads_;
};

} // namespace sim
