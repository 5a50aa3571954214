#include "platform/sim/glob.h"

namespace sim {

bool GlobMatches(std::string_view pattern, std::string_view text) {
    // Greedy, going back only to the last `*` on a mismatch: at worst the pattern's length
    // times the text's, never exponential.
    std::size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace sim
