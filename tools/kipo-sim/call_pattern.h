// A platform call as a scenario describes it, written like a --trace line with wildcards:
//   RegisterHotKey(dialog, 0xC1, 0x1008, 0xC1)
//   SetTimer(main, 1, 1500, NULL) = 1
//   GetProcAddressW(*, "Unregister*")
//   KernelIoControl(0x01010127, ...)
// Each argument is `*` (any one argument), a number (compared by value, so 0xC1 matches the
// trace's 193), `main` (Kipo's main window), `dialog` (one of its dialogs or message boxes),
// or text compared with the trace's text, where `*` stands for any run of characters. A last
// argument `...` matches any further arguments; without an argument list any arguments match.
// `= RESULT` checks the result the same way.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiposim {

// The window an argument named when the call was made, as the call log labels it.
enum class HandleLabel { None, Main, Dialog };

struct CallPattern {
    std::string name;
    bool anyArgs = true;   // no argument list was written
    bool moreArgs = false; // the list ends in `...`
    std::vector<std::string> args;
    std::optional<std::string> result;

    // The pattern as written, for messages.
    std::string text;

    // Reads a pattern; false with `error` set when it is malformed.
    static bool Parse(std::string_view text, CallPattern& out, std::string& error);

    bool Matches(std::string_view name, const std::vector<std::string>& args,
                 const std::vector<HandleLabel>& labels, std::string_view result) const;
};

// "a, "b, c", {1, 2}, d" into its top-level arguments: commas inside quotes, parentheses or
// braces stay.
std::vector<std::string> SplitArgs(std::string_view args);

} // namespace kiposim
