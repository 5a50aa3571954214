// The window system's operations with the messages Windows sends for each, untraced: the Win32
// names wrap them, and the device (tests, kipo-sim, dialogs, menus) uses them directly.
#pragma once

#include "platform/platform.h"

namespace sim {

struct Window;

// The window a handle names; null, with ERROR_INVALID_WINDOW_HANDLE as the last error, when
// there is none.
Window* LiveWindow(HWND window);

// CreateWindowExW as the current process: WM_NCCREATE, WM_CREATE (CREATESTRUCTW in lParam),
// WM_SIZE and WM_MOVE (an overlapped top-level window hears these two at its first showing
// instead), then the showing when WS_VISIBLE is given. Null when WM_NCCREATE returns FALSE or
// WM_CREATE returns -1; the window then gets only WM_NCDESTROY.
HWND CreateWindowAs(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param);
// DestroyWindow: hides it (activation moves on), destroys owned windows, then WM_DESTROY to the
// window and its children (parent first) and WM_NCDESTROY (children first).
bool DestroyWindowAs(HWND window);
// ShowWindow; returns whether the window was visible before.
bool ShowWindowAs(HWND window, int command);
// Makes the top-level window of `window` the foreground window, on top of the z-order, and its
// process's active window, with WM_ACTIVATE to the windows losing and gaining activation.
void Activate(HWND window);
// No window is in the foreground; the one that was loses activation.
void ClearForeground();
// SetFocus for the current process; returns the previous focus window.
HWND SetFocusAs(HWND window);
// Moves/resizes, sending WM_MOVE and WM_SIZE for what changed.
void PlaceWindow(HWND window, RECT rect, bool repaint);

// Caption: WM_GETTEXT/WM_GETTEXTLENGTH for the caller's own windows (controls answer those),
// the stored caption for other processes' windows, as Windows does.
int GetText(HWND window, LPWSTR buffer, int maxCount);
int GetTextLength(HWND window);
bool SetText(HWND window, LPCWSTR text);
// Copies at most maxCount-1 units and a NUL; returns the units copied.
int CopyText(const WString& text, LPWSTR buffer, int maxCount);

LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// BeginPaint: WM_ERASEBKGND when an erase is pending, then the window counts as painted.
HDC BeginPaintAs(HWND window, PAINTSTRUCT* paint);

// The device context BeginPaint hands out for a window.
HDC PaintDC(HWND window);

} // namespace sim
