// Menus of the simulated device, loaded from the resources of res/ (platform/sim/menu_api.cpp).
#pragma once

#include "platform/sim/api_types.h"

#define ERROR_INVALID_MENU_HANDLE 1401L
#define ERROR_POPUP_ALREADY_ACTIVE 1446L
#define MF_STRING 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_POPUP 0x00000010L
#define MF_SEPARATOR 0x00000800L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L
struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR menuName);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
BOOL DestroyMenu(HMENU menu);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
BOOL EndMenu();
