// Splits scenario text into lines of tokens: bare words and double-quoted strings, with
// comments dropped. Columns count characters (code points) from 1, as an editor shows them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "tools/kipo-sim/scenario_error.h"

namespace kiposim {

struct Token {
    enum class Kind { Word, String };
    Kind kind = Kind::Word;
    std::string word; // a bare word as written (UTF-8)
    WString text;     // a string with its escapes decoded (UTF-16)
    int column = 0;
};

struct TokenLine {
    int line = 0;
    std::string source; // the line without its comment and its end-of-line
    std::vector<Token> tokens;
    int endColumn = 0; // column just past the last token, for "missing ..." messages
};

// Lines that hold at least one token. Throws ScenarioError on malformed text (invalid UTF-8,
// a string without its closing quote, a bad escape, a control character).
std::vector<TokenLine> Tokenize(std::string_view text);

} // namespace kiposim
