// Hot keys and key state of the simulated device (platform/sim/keyboard_api.cpp).
#pragma once

#include "platform/sim/api_types.h"

// Virtual keys.
#define VK_LBUTTON 0x01
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#define MOD_WIN 0x0008

BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND window, int id);
SHORT GetAsyncKeyState(int virtualKey);
// The Windows CE core library's export that takes a key combination away from whichever window
// holds it as a hot key. Programs reach it by name (GetProcAddressW on "coredll.dll").
BOOL UnregisterFunc1(UINT modifiers, UINT virtualKey);
