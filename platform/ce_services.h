// The Windows CE services that desktop Windows lacks, declared once for both hosts with their
// Windows CE signatures, constants and structures. platform/platform.h includes it after the
// host's Win32 types. Each group names the files that define it: on the simulated device and,
// over the same device model (platform/model), on Windows.
#pragma once

// Windows CE keys and window style (winuser.h on the device).
#ifndef WS_EX_CAPTIONOKBTN
#define WS_EX_CAPTIONOKBTN 0x80000000L
#endif
#ifndef VK_APP1
#define VK_APP1 0xC1
#define VK_APP2 0xC2
#endif
#ifndef MOD_KEYUP
#define MOD_KEYUP 0x1000
#endif

// Power manager (pm.h), kernel I/O control, the idle timer, and the Microsoft Bluetooth
// utility library (bthutil.h): platform/sim/ce_services_api.cpp,
// platform/win32/ce_services_win32.cpp.
//
// The states are an enumeration on the device, not macros. The underlying type is fixed so
// that any number a caller passes is a value of the type, and the power manager can refuse it.
enum CEDEVICE_POWER_STATE : int {
    PwrDeviceUnspecified = -1,
    D0 = 0, // full power
    D1,
    D2,
    D3,
    D4, // off
    PwrDeviceMaximum
};
using PCEDEVICE_POWER_STATE = CEDEVICE_POWER_STATE*;
#define POWER_NAME 0x00000001
#define POWER_FORCE 0x00001000
DWORD SetDevicePower(LPCWSTR device, DWORD flags, CEDEVICE_POWER_STATE state);
DWORD GetDevicePower(LPCWSTR device, DWORD flags, PCEDEVICE_POWER_STATE state);

BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuf, DWORD inBufSize, LPVOID outBuf,
                     DWORD outBufSize, LPDWORD bytesReturned);
void SystemIdleTimerReset();

enum BTH_RADIO_MODE { BTH_POWER_OFF, BTH_CONNECTABLE, BTH_DISCOVERABLE };
int BthSetMode(DWORD mode);
int BthGetMode(DWORD* mode);

// Named events: the kernel's one entry point for set, reset and pulse.
// platform/sim/events_api.cpp, platform/win32/events_win32.cpp.
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
BOOL EventModify(HANDLE event, DWORD func);

// Exports looked up by wide name: platform/sim/library_api.cpp, platform/win32/shell_win32.cpp.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);

// Pocket PC shell library (aygshell.h): platform/sim/shell_api.cpp,
// platform/win32/shell_win32.cpp.
BOOL SHInitExtraControls();
struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
using PSHINITDLGINFO = SHINITDLGINFO*;
#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
BOOL SHInitDialog(PSHINITDLGINFO info);
