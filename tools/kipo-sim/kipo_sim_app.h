// kipo-sim as a function: arguments in, report out, exit status back (0 every expect held, 1
// a check failed or a step could not apply, 2 the scenario could not be read or parsed).
#pragma once

#include <cstdio>
#include <istream>
#include <string>
#include <vector>

namespace kiposim {

int RunKipoSim(const std::vector<std::string>& args, std::istream& in, std::FILE* out,
               std::FILE* err);

} // namespace kiposim
