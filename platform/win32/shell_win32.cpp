// The Pocket PC shell library's calls on desktop Windows, and Windows CE's wide-name export
// lookup.
#include <string>

#include "platform/platform.h"

// Desktop Windows registers every control class the program uses by itself.
BOOL SHInitExtraControls() {
    return TRUE;
}

// There is no Done button, input panel or full-screen work area to fit on the desktop: the
// dialog keeps the size its template gives it. Bad arguments fail as the shell's call does.
BOOL SHInitDialog(PSHINITDLGINFO info) {
    if (info == nullptr || info->hDlg == nullptr || !IsWindow(info->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

// Export names are ASCII; a name with any other character cannot name an export.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
    if (procName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (IS_INTRESOURCE(procName))
        return GetProcAddress(module, reinterpret_cast<LPCSTR>(procName));
    std::string ascii;
    for (LPCWSTR p = procName; *p != 0; ++p) {
        if (*p > 0x7F) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return nullptr;
        }
        ascii.push_back(static_cast<char>(*p));
    }
    return GetProcAddress(module, ascii.c_str());
}
