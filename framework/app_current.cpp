// The application that runs now. Kept apart from the rest of CWinApp so that code which only
// asks for the running application (names, instance) links without the message loop.
#include "framework/win_app.h"

namespace {
// One per thread: a program has one thread, and where several programs share a host process
// (the simulated device runs each on a thread of its own) each sees its own application.
thread_local CWinApp* g_runningApp = nullptr;
} // namespace

CWinApp* AfxGetApp() {
    return g_runningApp;
}

CWinApp* AfxSetRunningApp(CWinApp* app) {
    CWinApp* previous = g_runningApp;
    g_runningApp = app;
    return previous;
}
