// Files on the computer the simulator runs on (scenarios, .reg files, charts): read whole, and
// when a file cannot be read or written, why, in words a user knows.
#pragma once

#include <string>

namespace sim {

// Reads the whole file at `path` into `bytes`. On failure returns false and sets `why`: "no
// such file", "permission denied", "is a folder", or the system's own words.
bool ReadHostFile(const std::string& path, std::string& bytes, std::string& why);

// Whether a file could be created or replaced at `path`, found without touching it: empty
// when it can, else why not ("no such folder out/charts", "is a folder", "permission
// denied"). A run checks its outputs with this before it starts, not after it ends.
std::string WhyNotWritable(const std::string& path);

// An errno value in the same words: "no such file", "permission denied", ...
std::string ErrnoWords(int error);

} // namespace sim
