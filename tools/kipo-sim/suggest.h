// "Did you mean": the candidate closest to a misspelt word, for error messages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kiposim {

// The candidate within a small edit distance of `word` (a swap of two neighbouring letters
// counts as one edit), the closest first and, among equals, the earliest; empty when none is
// close enough to be a likely typo.
std::string Suggest(std::string_view word, const std::vector<std::string>& candidates);

} // namespace kiposim
