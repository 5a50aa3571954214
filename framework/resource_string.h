// String resources of the program's image.
#pragma once

#include "platform/text.h"

// String `id` of the program's resources, whole; empty when there is none.
WString LoadResourceString(UINT id);
