// The simulated registry: HKCU and HKLM trees, key names without regard to letter case,
// values kept with their type and exact bytes, load and save as .reg text.
#pragma once

namespace sim {

class Registry {
public:
};

} // namespace sim
