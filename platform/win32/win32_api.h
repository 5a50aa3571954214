// Win32 names on real Windows: the system headers, plus the few Windows CE services that
// desktop Windows lacks. Those are supplied by platform/win32 from the same device model as the
// simulated Pocket PC, so the program's calls keep their Windows CE signatures and meanings.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

#include <shellapi.h>

// The program keeps Windows CE's 32-bit window and dialog offsets; on 64-bit Windows they are
// the pointer-sized ones (the 32-bit DWL_USER would overlap the dialog procedure there).
#ifndef GWL_WNDPROC
#define GWL_WNDPROC GWLP_WNDPROC
#endif
#ifndef GWL_USERDATA
#define GWL_USERDATA GWLP_USERDATA
#endif
#ifndef DWL_MSGRESULT
#define DWL_MSGRESULT DWLP_MSGRESULT
#endif
#ifndef DWL_USER
#define DWL_USER DWLP_USER
#endif

// Registry paths as Windows CE takes them: a subkey may start with a backslash and is still
// relative to its key ("\\SOFTWARE\\Widcomm\\..." under HKEY_LOCAL_MACHINE); desktop Windows
// refuses such a path, so these two take the backslash off first.
namespace win32 {
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                     LPDWORD disposition);
} // namespace win32
#define RegOpenKeyExW win32::RegOpenKeyExW
#define RegCreateKeyExW win32::RegCreateKeyExW

// Windows CE window style and keys.
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

// Power manager.
using CEDEVICE_POWER_STATE = int;
using PCEDEVICE_POWER_STATE = CEDEVICE_POWER_STATE*;
inline constexpr CEDEVICE_POWER_STATE PwrDeviceUnspecified = -1;
inline constexpr CEDEVICE_POWER_STATE D0 = 0;
inline constexpr CEDEVICE_POWER_STATE D1 = 1;
inline constexpr CEDEVICE_POWER_STATE D2 = 2;
inline constexpr CEDEVICE_POWER_STATE D3 = 3;
inline constexpr CEDEVICE_POWER_STATE D4 = 4;
#define POWER_NAME 0x00000001
#define POWER_FORCE 0x00001000

DWORD SetDevicePower(LPCWSTR device, DWORD flags, CEDEVICE_POWER_STATE state);
DWORD GetDevicePower(LPCWSTR device, DWORD flags, PCEDEVICE_POWER_STATE state);
BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuf, DWORD inBufSize, LPVOID outBuf,
                     DWORD outBufSize, LPDWORD bytesReturned);
void SystemIdleTimerReset();

// Named events: Windows CE's one entry point for set, reset and pulse.
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
BOOL EventModify(HANDLE event, DWORD func);

// The Microsoft Bluetooth utility library.
#define BTH_POWER_OFF 0
#define BTH_CONNECTABLE 1
#define BTH_DISCOVERABLE 2
int BthSetMode(DWORD mode);
int BthGetMode(DWORD* mode);

// Windows CE looks exports up by wide name.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);

// Pocket PC shell library.
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
