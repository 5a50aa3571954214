// Text from the scenario shortened for a message: an error or check line quotes at most a
// few dozen characters of a token or step, however long the line, as the timeline shortens
// captions.
#pragma once

#include <cstddef>
#include <string>

namespace kiposim {

constexpr std::size_t kShownCharacters = 80;

// UTF-8 text cut after `maxCharacters` code points, never inside one; a cut text ends with
// "... (N characters)".
std::string ShortText(const std::string& utf8, std::size_t maxCharacters = kShownCharacters);

} // namespace kiposim
