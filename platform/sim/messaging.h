// The window system's own sending, posting, retrieving and waiting. The Win32 names are thin
// traced wrappers over these; the platform's internal sends (the messages CreateWindowExW or
// a dialog sends) use them directly, so they never count as calls of the program.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/platform.h"
#include "platform/sim/threads.h"

namespace sim {

// Runs the window's procedure as the process that owns the window: on the calling thread, or,
// for a window of another program's thread, on that thread once it waits for a message (the
// caller waits for the reply meanwhile, taking messages sent to its own windows).
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Null window: a message for the current process's queue. False for a window that is gone.
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Retrieval for the current process, in Windows' order: posted messages, the quit request,
// WM_PAINT, WM_TIMER.
bool Peek(MSG& msg, const MessageFilter& filter, bool remove);

enum class Fetch { Message, Quit, Stopped, Error };
// GetMessageW: waits while nothing is there, working the device's agenda. `stop`, when given,
// is asked after every step of the outside world and ends the wait once it returns true.
Fetch Get(MSG& msg, const MessageFilter& filter, const std::function<bool()>& stop = {});
// WaitMessage: returns once the current process has something to retrieve.
void WaitForMessage();
// Sleep: the program's thread is blocked; the outside world and other processes go on.
void SleepFor(DWORD milliseconds);

// Starts `body` as the one thread of `process` (Device::StartThread).
void StartThread(int process, std::function<void()> body);
// The outside world's wait until the agenda is empty and every started thread has ended
// (Device::RunUntilIdle).
void RunUntilIdle();
// Ends the started threads still running, as at shutdown: each gets WM_QUIT, and the world
// goes on until they have ended.
void EndThreads();

LRESULT Dispatch(const MSG& msg);
// TranslateMessage: a key press that stands for a character also posts WM_CHAR. True for key
// messages.
bool Translate(const MSG& msg);

// WM_TIMER a timer produces when retrieved.
MSG TimerMessage(HWND window, UINT_PTR id, TIMERPROC proc);

} // namespace sim
