// Kernel, power-manager, event and Bluetooth-library names of the simulated device.
#pragma once

#include "platform/sim/api_types.h"

// Power manager.
using CEDEVICE_POWER_STATE = int;
using PCEDEVICE_POWER_STATE = CEDEVICE_POWER_STATE*;
#define PwrDeviceUnspecified (-1)
#define D0 0
#define D1 1
#define D2 2
#define D3 3
#define D4 4
#define POWER_NAME 0x00000001
#define POWER_FORCE 0x00001000

DWORD SetDevicePower(LPCWSTR device, DWORD flags, CEDEVICE_POWER_STATE state);
DWORD GetDevicePower(LPCWSTR device, DWORD flags, PCEDEVICE_POWER_STATE state);
BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuf, DWORD inBufSize, LPVOID outBuf,
                     DWORD outBufSize, LPDWORD bytesReturned);
void SystemIdleTimerReset();

// Named events.
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
BOOL EventModify(HANDLE event, DWORD func);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
BOOL CloseHandle(HANDLE object);

// Named mutexes: a program is known to be running by the one it holds.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);

// Time.
void Sleep(DWORD milliseconds);
DWORD GetTickCount();

// The Microsoft Bluetooth utility library.
#define BTH_POWER_OFF 0
#define BTH_CONNECTABLE 1
#define BTH_DISCOVERABLE 2
int BthSetMode(DWORD mode);
int BthGetMode(DWORD* mode);
