// Checks the platform calls a piece of code made against an expected table, row by row, in
// the spirit of Wine's message-sequence tests. A row reads like a trace line,
// "Name(args) = result"; "*" in a row matches any run of characters, so a row can leave out
// what a test does not pin down (a window handle, a result), and "{name}" stands for the
// trace text of the window handle given under that name, so rows can be written before the
// windows exist and no test formats handles itself.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/device.h"

namespace calls {

// The recorded calls of `process` whose names are in `names` (every call when empty), as
// trace lines.
std::vector<std::string> Recorded(const sim::Trace& trace,
                                  const std::vector<std::string_view>& names = {},
                                  int process = sim::kProgramProcess);

// The windows a table's "{name}" placeholders stand for.
struct Handle {
    std::string_view name;
    HWND window;
};
using Handles = std::vector<Handle>;

// The rows with every "{name}" of `handles` replaced by its window's trace text.
std::vector<std::string> WithHandles(std::vector<std::string> rows, const Handles& handles);

// Success when the recorded calls equal the table; otherwise names the first row that
// differs and prints both lists.
::testing::AssertionResult Match(const sim::Trace& trace, const std::vector<std::string>& expected,
                                 const std::vector<std::string_view>& names = {},
                                 const Handles& handles = {}, int process = sim::kProgramProcess);

} // namespace calls

// EXPECT_CALLS(device.trace, {rows...}), EXPECT_CALLS(device.trace, {rows...}, {names...}) or
// EXPECT_CALLS(device.trace, {rows...}, {names...}, {{"console", console}}).
#define EXPECT_CALLS(trace, ...) EXPECT_TRUE(::calls::Match((trace), __VA_ARGS__))
