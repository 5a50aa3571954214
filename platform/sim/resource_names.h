// Resource names as Win32 takes them: MAKEINTRESOURCEW(id) or the text "#id".
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace sim {

// The numeric identifier a name stands for; none for a null name or a text that is not "#id".
std::optional<WORD> ResourceId(LPCWSTR name);
// For the trace: the number, or the quoted text.
std::string ResourceNameArg(LPCWSTR name);

} // namespace sim
