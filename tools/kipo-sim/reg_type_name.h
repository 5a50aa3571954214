// A registry value type as regedit and the Win32 headers name it ("REG_SZ"), or "type N".
#pragma once

#include <string>

#include "platform/platform.h"

namespace kiposim {

std::string RegTypeName(DWORD type);

} // namespace kiposim
