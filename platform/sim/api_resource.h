// Icons and strings of the simulated device, from the resources of res/
// (platform/sim/resource_api.cpp).
#pragma once

#include "platform/sim/api_types.h"

#define ERROR_INVALID_ICON_HANDLE 1402L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

HICON LoadIconW(HINSTANCE instance, LPCWSTR iconName);
BOOL DestroyIcon(HICON icon);
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxCount);
