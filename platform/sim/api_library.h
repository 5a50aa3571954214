// Loading libraries on the simulated device (platform/sim/library_api.cpp); their exports are
// found with GetProcAddressW (platform/ce_services.h).
#pragma once

#include "platform/sim/api_types.h"

HMODULE LoadLibraryW(LPCWSTR fileName);
BOOL FreeLibrary(HMODULE module);
