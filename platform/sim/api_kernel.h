// Kernel names of the simulated device.
#pragma once

#include "platform/sim/api_types.h"

// Named events.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
BOOL CloseHandle(HANDLE object);

// Named mutexes: a program is known to be running by the one it holds.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);

// Time.
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
