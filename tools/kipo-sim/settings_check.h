// `kipo-sim check`: every setting that will not do what its author probably meant, found by
// the program's own code (LoadSettings, the rule-list builder, the monitor tick) running on
// a simulated device loaded with the user's .reg file.
#pragma once

#include <string>
#include <vector>

namespace kiposim {

class SettingsProbe;

struct Finding {
    std::string where; // the value, and the entry when there is one
    std::string text;  // what Kipo will do with it, and what the author probably meant
    std::string kind;  // a short tag, for scripts and tests
};

std::vector<Finding> CheckSettings(SettingsProbe& probe);

} // namespace kiposim
