#include "tools/kipo-sim/scenario_lexer.h"

#include "tools/kipo-sim/short_text.h"

#include <cstdint>

namespace kiposim {

namespace {

// One line decoded to code points, strictly: overlong forms, encoded surrogates and values
// above U+10FFFF are not UTF-8.
std::u32string DecodeLine(std::string_view bytes, int line) {
    std::u32string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const int column = static_cast<int>(out.size()) + 1;
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t min = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1Fu, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0Fu, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07u, min = 0x10000;
        } else {
            throw ScenarioError(line, column, "the file is not UTF-8 text");
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= bytes.size() || (static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                throw ScenarioError(line, column, "the file is not UTF-8 text");
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            throw ScenarioError(line, column, "the file is not UTF-8 text");
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}
bool IsControl(char32_t c) {
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

void AppendCodePoint(WString& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<WCHAR>(0xD800 + (c >> 10)));
        out.push_back(static_cast<WCHAR>(0xDC00 + (c & 0x3FF)));
    } else {
        // Lone surrogates written as \u{D800} stay lone: a caption may hold one.
        out.push_back(static_cast<WCHAR>(c));
    }
}

std::string Utf8Of(const std::u32string& cps, std::size_t begin, std::size_t end) {
    WString wide;
    for (std::size_t i = begin; i < end; ++i)
        AppendCodePoint(wide, cps[i]);
    return ::ToUtf8(wide);
}

int HexValue(char32_t c) {
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

class LineLexer {
  public:
    LineLexer(std::u32string cps, int line) : cps_(std::move(cps)), line_(line) {}

    TokenLine Run() {
        TokenLine out;
        out.line = line_;
        std::size_t contentEnd = 0;
        while (true) {
            while (pos_ < cps_.size() && IsBlank(cps_[pos_]))
                ++pos_;
            if (pos_ >= cps_.size() || cps_[pos_] == '#')
                break;
            if (cps_[pos_] == '"')
                out.tokens.push_back(String());
            else
                out.tokens.push_back(Word());
            contentEnd = pos_;
        }
        // Messages quote the step; a line of megabytes is shortened once, here.
        out.source = ShortText(Utf8Of(cps_, 0, contentEnd));
        out.endColumn = static_cast<int>(contentEnd) + 1;
        return out;
    }

  private:
    int Column(std::size_t at) const { return static_cast<int>(at) + 1; }

    Token Word() {
        Token token;
        token.kind = Token::Kind::Word;
        token.column = Column(pos_);
        std::size_t begin = pos_;
        while (pos_ < cps_.size() && !IsBlank(cps_[pos_]) && cps_[pos_] != '"' &&
               cps_[pos_] != '#') {
            if (IsControl(cps_[pos_]))
                throw ScenarioError(line_, Column(pos_), "control character in the text");
            ++pos_;
        }
        token.word = Utf8Of(cps_, begin, pos_);
        return token;
    }

    Token String() {
        Token token;
        token.kind = Token::Kind::String;
        token.column = Column(pos_);
        ++pos_; // the opening quote
        while (true) {
            if (pos_ >= cps_.size())
                throw ScenarioError(line_, token.column, "string without its closing quote");
            char32_t c = cps_[pos_];
            if (c == '"') {
                ++pos_;
                break;
            }
            if (c == '\\') {
                Escape(token.text);
                continue;
            }
            if (IsControl(c))
                throw ScenarioError(line_, Column(pos_),
                                    "control character in a string (write \\n or \\t)");
            AppendCodePoint(token.text, c);
            ++pos_;
        }
        if (pos_ < cps_.size() && !IsBlank(cps_[pos_]) && cps_[pos_] != '#')
            throw ScenarioError(line_, Column(pos_), "a blank must follow a string");
        return token;
    }

    void Escape(WString& out) {
        const std::size_t at = pos_;
        if (pos_ + 1 >= cps_.size())
            throw ScenarioError(line_, Column(at), "string without its closing quote");
        char32_t e = cps_[pos_ + 1];
        pos_ += 2;
        switch (e) {
        case '"':
            out.push_back(u'"');
            return;
        case '\\':
            out.push_back(u'\\');
            return;
        case 'n':
            out.push_back(u'\n');
            return;
        case 't':
            out.push_back(u'\t');
            return;
        case 'u':
            break;
        default:
            throw ScenarioError(line_, Column(at),
                                "bad escape \\" + Utf8Of(cps_, at + 1, at + 2) +
                                    " (known: \\\" \\\\ \\n \\t \\u{XXXX})");
        }
        if (pos_ >= cps_.size() || cps_[pos_] != '{')
            throw ScenarioError(line_, Column(at), "bad escape: \\u must be followed by {hex}");
        ++pos_;
        std::uint32_t value = 0;
        int digits = 0;
        while (pos_ < cps_.size() && HexValue(cps_[pos_]) >= 0) {
            value = value * 16 + static_cast<std::uint32_t>(HexValue(cps_[pos_]));
            ++pos_;
            if (++digits > 6)
                throw ScenarioError(line_, Column(at), "bad escape: too many hex digits in \\u{}");
        }
        if (pos_ >= cps_.size() || cps_[pos_] != '}' || digits == 0)
            throw ScenarioError(line_, Column(at), "bad escape: \\u{ needs hex digits and }");
        ++pos_;
        if (value > 0x10FFFF)
            throw ScenarioError(line_, Column(at), "bad escape: no code point above U+10FFFF");
        AppendCodePoint(out, value);
    }

    std::u32string cps_;
    int line_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<TokenLine> Tokenize(std::string_view text) {
    std::vector<TokenLine> lines;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
        ++number;
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        TokenLine line = LineLexer(DecodeLine(raw, number), number).Run();
        if (!line.tokens.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace kiposim
