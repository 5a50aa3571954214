#include "tools/kipo-sim/suggest.h"

#include <algorithm>
#include <vector>

namespace kiposim {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// How far a slip may go before the guess stops helping: short words have few letters to spare.
std::size_t Threshold(std::size_t length) {
    if (length <= 2)
        return 0;
    if (length <= 4)
        return 1;
    if (length <= 8)
        return 2;
    return 3;
}

} // namespace

std::size_t EditDistance(std::string_view a, std::string_view b) {
    // Optimal string alignment: three rows are enough for the swap of neighbours.
    const std::size_t n = b.size();
    std::vector<std::size_t> before(n + 1), previous(n + 1), current(n + 1);
    for (std::size_t j = 0; j <= n; ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= n; ++j) {
            const std::size_t cost = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) &&
                Lower(a[i - 2]) == Lower(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[n];
}

std::optional<std::string> Suggest(std::string_view word,
                                   std::span<const std::string_view> candidates) {
    if (word.empty())
        return std::nullopt;
    std::optional<std::string_view> best;
    std::size_t bestDistance = Threshold(word.size()) + 1;
    for (std::string_view candidate : candidates) {
        const std::size_t distance = EditDistance(word, candidate);
        if (distance == 0 && word.size() == candidate.size() &&
            std::equal(word.begin(), word.end(), candidate.begin()))
            return std::nullopt; // the word is known: nothing to suggest
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    if (!best)
        return std::nullopt;
    return std::string(*best);
}

std::string DidYouMean(std::string_view word, std::span<const std::string_view> candidates) {
    const auto guess = Suggest(word, candidates);
    return guess ? " (did you mean " + *guess + "?)" : std::string();
}

} // namespace kiposim
