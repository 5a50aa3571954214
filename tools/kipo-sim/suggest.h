// "Did you mean": the closest known name to a word the user mistyped.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kiposim {

// Edit distance between two words, letter case ignored: insertions, deletions, substitutions
// and swaps of two neighbouring letters each count one.
std::size_t EditDistance(std::string_view a, std::string_view b);

// The candidate closest to `word`, when it is close enough to be a typing slip: none for words of
// one or two letters (any guess would do), one up to four letters, two up to eight, three beyond.
// Ties go to the earlier candidate, so callers list the common names first. Nothing when no
// candidate is close or when `word` is itself a candidate.
std::optional<std::string> Suggest(std::string_view word,
                                   std::span<const std::string_view> candidates);

// " (did you mean X?)" for an error message, or "" when nothing is close.
std::string DidYouMean(std::string_view word, std::span<const std::string_view> candidates);

} // namespace kiposim
