// The one header through which the program reaches the platform: Win32 names, types and
// constants, plus the few Windows CE services that desktop Windows lacks.
#pragma once

#ifdef _WIN32
#include "platform/win32/win32_api.h"
#else
#include "platform/sim/sim_api.h"
#endif

#include "platform/ce_services.h"
#include "platform/text.h"
