// The program's command line: one optional decimal number, the check interval in ms.
#pragma once

#include "platform/platform.h"

// Trims white space from both ends; when something is left, converts it (WideToLong) into
// `interval` and returns true. Text after the number is ignored; nothing is an error.
bool CommandLineInterval(LPCWSTR commandLine, LONG& interval);
