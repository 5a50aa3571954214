#include "tools/kipo-sim/short_text.h"

namespace kiposim {

namespace {

bool StartsCodePoint(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

} // namespace

std::string ShortText(const std::string& utf8, std::size_t maxCharacters) {
    std::size_t characters = 0;
    std::size_t cut = utf8.size();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (!StartsCodePoint(utf8[i]))
            continue;
        if (characters == maxCharacters && cut == utf8.size())
            cut = i;
        ++characters;
    }
    if (cut == utf8.size())
        return utf8;
    return utf8.substr(0, cut) + "... (" + std::to_string(characters) + " characters)";
}

} // namespace kiposim
