// The framework's standard message box: the application's title as caption, an icon chosen
// from the buttons when none is given, and the box brought to the foreground. Without an owner
// given, the box is owned by the main window's last active popup (framework/safe_owner.h),
// which is disabled while the box is up.
#pragma once

#include "platform/platform.h"

class CWnd;

// With type MB_OK this is MessageBoxW(owner, text, title, 0x10030).
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, CWnd* owner = nullptr);
