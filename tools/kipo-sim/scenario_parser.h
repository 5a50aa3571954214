// Reads the scenario language into a Scenario (docs/scenarios.md describes the language).
#pragma once

#include <string>
#include <string_view>

#include "tools/kipo-sim/scenario.h"
#include "tools/kipo-sim/scenario_error.h"

namespace kiposim {

// Throws ScenarioError, naming line and column, on anything malformed.
Scenario ParseScenario(std::string_view text, std::string name);

// Durations as a scenario writes them ("1500ms", "3s", "+2m", "1m30s") in milliseconds.
enum class DurationResult { Ok, Malformed, Negative, TooLong };
DurationResult ParseDurationWord(std::string_view word, std::uint64_t& ms);

} // namespace kiposim
