// Win32 names as the simulated Pocket PC provides them (every host but Windows).
#pragma once

#include "platform/sim/api_types.h"
#include "platform/sim/api_text.h"
#include "platform/sim/api_registry.h"
#include "platform/sim/api_kernel.h"
#include "platform/sim/api_windows.h"
#include "platform/sim/api_shell.h"
#include "platform/sim/api_dialogs.h"
