// Named events and mutexes of the simulated device (platform/sim/events_api.cpp). Its
// EventModify, which desktop Windows lacks, is declared in platform/ce_services.h.
#pragma once

#include "platform/sim/api_types.h"

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
BOOL CloseHandle(HANDLE object);

// Named mutexes: a program is known to be running by the one it holds.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
