// Letter case of the simulated device (platform/sim/text_api.cpp).
#pragma once

#include "platform/sim/api_types.h"

// Lower-cases in place up to the terminating NUL; a value below 0x10000 is one character,
// as Windows allows, and is returned converted.
LPWSTR CharLowerW(LPWSTR text);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);
