// Notification icons of the simulated device's shell (platform/sim/shell_api.cpp). Its dialog
// set-up calls, which desktop Windows lacks, are declared in platform/ce_services.h.
#pragma once

#include "platform/sim/api_types.h"

struct NOTIFYICONDATAW {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
};
using NOTIFYICONDATA = NOTIFYICONDATAW;
using PNOTIFYICONDATA = NOTIFYICONDATAW*;
#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004
BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data);
