// Handle and pointer arguments of the simulated Win32 names, as the trace writes them: every
// handle type passes through one `const void*` overload of TraceArg.
#pragma once

namespace sim {

inline const void* P(const void* pointer) {
    return pointer;
}

} // namespace sim
