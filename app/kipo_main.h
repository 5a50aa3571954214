// The whole program as one call: creates the application object, runs it, destroys it.
// wWinMain calls it; so do the simulator and the tests, in the program's process.
#pragma once

#include "platform/platform.h"

int KipoMain(HINSTANCE instance, LPCWSTR commandLine);
