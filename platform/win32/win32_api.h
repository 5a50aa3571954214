// Win32 names on real Windows: the system headers, adjusted where Windows CE reads a call
// differently. The Windows CE services desktop Windows lacks are declared in
// platform/ce_services.h and supplied by platform/win32 from the same device model as the
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
