// The .reg files of --registry and --save-registry: reading one into the device before the
// run, writing the device's registry after it, and saying on standard error what went wrong.
#pragma once

#include <cstdio>
#include <string>

namespace sim {
class Registry;
}

namespace kiposim {

// Loads `file` (the path as the user gave it) into `registry`. On failure prints
// "FILE:LINE:COLUMN: message" (or "FILE: cannot read: why") to `err` and returns false.
bool LoadRegistryFile(sim::Registry& registry, const std::string& file, std::FILE* err);

// Writes `registry` to `file`, "-" being `out`, in regedit's UTF-16 form or in UTF-8. A file
// already there is replaced only by a whole new one. On failure prints why to `err`, once.
bool SaveRegistryFile(const sim::Registry& registry, const std::string& file, bool utf8,
                      std::FILE* out, std::FILE* err);

} // namespace kiposim
