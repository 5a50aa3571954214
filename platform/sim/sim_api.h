// Win32 names as the simulated Pocket PC provides them (every host but Windows): one header per
// platform/sim/X_api.cpp, declaring what that file defines.
#pragma once

#include "platform/sim/api_dialog.h"
#include "platform/sim/api_error.h"
#include "platform/sim/api_events.h"
#include "platform/sim/api_keyboard.h"
#include "platform/sim/api_library.h"
#include "platform/sim/api_menu.h"
#include "platform/sim/api_message_box.h"
#include "platform/sim/api_messages.h"
#include "platform/sim/api_module.h"
#include "platform/sim/api_registry.h"
#include "platform/sim/api_resource.h"
#include "platform/sim/api_shell.h"
#include "platform/sim/api_text.h"
#include "platform/sim/api_types.h"
#include "platform/sim/api_window_state.h"
#include "platform/sim/api_windows.h"
