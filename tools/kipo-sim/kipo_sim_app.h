// kipo-sim as a function: arguments in, report out, exit status back (0 every expect held, 1
// a check failed or a step could not apply, 2 the scenario could not be read or parsed).
#pragma once

#include <cstdio>
#include <istream>
#include <string>
#include <vector>

#include "tools/kipo-sim/console.h"

namespace kiposim {

// `console` says what the streams lead to (colour, progress); the default is plain files.
int RunKipoSim(const std::vector<std::string>& args, std::istream& in, std::FILE* out,
               std::FILE* err, const Console& console = {});

} // namespace kiposim
