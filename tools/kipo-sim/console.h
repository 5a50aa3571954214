// What kipo-sim's output streams lead to, decided once at start: colour for the report on a
// terminal, a progress line for long runs on a terminal's standard error.
#pragma once

#include <chrono>

namespace kiposim {

struct Console {
    bool outTerminal = false; // standard output is a terminal
    bool errTerminal = false; // standard error is a terminal
    bool noColor = false;     // NO_COLOR is set to something (no-color.org)
    // How long a run goes before its progress line shows: short runs stay silent.
    std::chrono::milliseconds progressAfter{1000};

    // Colour for a report written to standard output (or to standard error when standard
    // output carries a file).
    bool Colour(bool reportOnErr) const {
        return !noColor && (reportOnErr ? errTerminal : outTerminal);
    }
    bool ShowProgress() const { return errTerminal; }
};

// The console from the environment: isatty on both streams, NO_COLOR, and for tests
// KIPO_SIM_PROGRESS_AFTER_MS (how long a run goes before its progress shows).
Console DetectConsole();

// The same from given values (a null pointer: the variable is not set).
Console MakeConsole(bool outTerminal, bool errTerminal, const char* noColor,
                    const char* progressAfterMs);

} // namespace kiposim
