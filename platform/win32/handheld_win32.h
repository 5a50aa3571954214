// The device model behind the Windows CE services on Windows: one per process, as the
// handheld is one per device. Tests reset it (FreshDevice) to start from a device just booted.
#pragma once

#include "platform/model/handheld.h"

namespace win32 {

model::Handheld& Handheld();

} // namespace win32
