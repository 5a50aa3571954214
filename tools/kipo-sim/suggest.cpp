#include "tools/kipo-sim/suggest.h"

#include <algorithm>

namespace kiposim {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Optimal string alignment distance: insertions, deletions, substitutions and swaps of two
// neighbours, letter case ignored.
std::size_t Distance(std::string_view a, std::string_view b) {
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) &&
                Lower(a[i - 2]) == Lower(b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

} // namespace

std::string Suggest(std::string_view word, const std::vector<std::string>& candidates) {
    // Long words tolerate more typos; a one-letter word matches nothing by accident.
    const std::size_t limit = word.size() <= 2 ? 0 : word.size() <= 5 ? 1 : 2;
    const std::string* best = nullptr;
    std::size_t bestDistance = limit + 1;
    // Very long input is no typo of a short name; the table would only cost time.
    if (word.size() > 64)
        return {};
    for (const std::string& candidate : candidates) {
        const std::size_t distance = Distance(word, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &candidate;
        }
    }
    return best != nullptr ? *best : std::string();
}

} // namespace kiposim
