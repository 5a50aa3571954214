// The Pocket PC shell library's calls on desktop Windows, and Windows CE's wide-name export
// lookup.
#include <string>

#include "platform/platform.h"

// Desktop Windows has every control class the program uses but the shell's input-panel
// helper, which dialog templates name: without its class, creating such a dialog fails. There
// is no input panel here, so it is a window that does nothing.
BOOL SHInitExtraControls() {
    WNDCLASSW wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SIPPREF";
    if (RegisterClassW(&wc) != 0)
        return TRUE;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS ? TRUE : FALSE;
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
