#include "tools/kipo-sim/console.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace kiposim {

Console MakeConsole(bool outTerminal, bool errTerminal, const char* noColor,
                    const char* progressAfterMs) {
    Console console;
    console.outTerminal = outTerminal;
    console.errTerminal = errTerminal;
    // An empty NO_COLOR counts as not set, as no-color.org asks.
    console.noColor = noColor != nullptr && *noColor != '\0';
    if (progressAfterMs != nullptr) {
        unsigned ms = 0;
        const char* end = progressAfterMs + std::strlen(progressAfterMs);
        const auto [last, ec] = std::from_chars(progressAfterMs, end, ms);
        if (ec == std::errc() && last == end && last != progressAfterMs)
            console.progressAfter = std::chrono::milliseconds(ms);
    }
    return console;
}

Console DetectConsole() {
    return MakeConsole(::isatty(STDOUT_FILENO) == 1, ::isatty(STDERR_FILENO) == 1,
                       std::getenv("NO_COLOR"), std::getenv("KIPO_SIM_PROGRESS_AFTER_MS"));
}

} // namespace kiposim
