// kipo-sim's commands besides running a scenario. Each takes the arguments after its name and
// returns the exit status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace kiposim {

// `kipo-sim check [--registry FILE.reg]`: the settings that will not do what their author
// probably meant, one per line. 0 none, 1 some, 2 the input cannot be read.
int RunCheck(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// `kipo-sim why [--registry FILE.reg] [--running CAPTION]... CAPTION`: what Kipo does to each
// radio when CAPTION comes to the front. 0, or 2 when the input cannot be read.
int RunWhy(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

} // namespace kiposim
