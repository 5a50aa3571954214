// Matching of trace text against a pattern in which `*` stands for any run of characters: the
// form in which kipo-sim's call checks and the device tests' call tables write what they expect.
#pragma once

#include <string_view>

namespace sim {

bool GlobMatches(std::string_view pattern, std::string_view text);

} // namespace sim
