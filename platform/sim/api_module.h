// The running program's module on the simulated device (platform/sim/module_api.cpp).
#pragma once

#include "platform/sim/api_types.h"

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
