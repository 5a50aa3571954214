// Window messages by name for the trace: "WM_TIMER (0x0113)", "WM_USER+1 (0x0401)".
#pragma once

#include <string>

#include "platform/sim/api_types.h"

namespace sim {

std::string MessageName(UINT message);

} // namespace sim
