// Message loops for code that runs on the simulated device itself: modal loops of dialogs,
// menus and message boxes, and tests that sit inside the agenda.
#pragma once

#include <functional>

#include "platform/platform.h"

namespace sim {

// Retrieves and dispatches the current process's messages until `done` returns true (asked
// before every message and after every step of the outside world while waiting): returns true.
// When WM_QUIT arrives first the loop ends and posts it again (PostQuitMessage with its exit
// code), so every enclosing loop ends too, as nested loops do on Windows: returns false.
// `preTranslate`, when given, sees each message first and returns true when it has handled it
// (a dialog's IsDialogMessageW).
bool RunMessageLoopUntil(const std::function<bool()>& done,
                         const std::function<bool(MSG&)>& preTranslate = {});

// The outermost loop: runs until WM_QUIT and returns its exit code. With the agenda empty and
// nothing left to do, the device ends the run by posting WM_QUIT (exit code 0).
int RunMessageLoop();

} // namespace sim
