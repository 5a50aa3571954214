#include "tools/kipo-sim/scenario_cursor.h"

#include "tools/kipo-sim/short_text.h"

#include <charconv>
#include <limits>

#include "tools/kipo-sim/scenario_parser.h"

namespace kiposim::parse {

std::string Quote(const Token& token) {
    if (token.kind == Token::Kind::String)
        return "\"" + ShortText(ToUtf8(token.text)) + "\"";
    return "`" + ShortText(token.word) + "`";
}

bool ParseInteger(std::string_view word, long long& value) {
    std::string_view digits = word;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits[0] < '0' || digits[0] > '9')
        return false;
    unsigned long long magnitude = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (error != std::errc() || end != digits.data() + digits.size())
        return false;
    constexpr unsigned long long kLimit = std::numeric_limits<long long>::max();
    if (magnitude > kLimit)
        return false;
    value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

bool UnitMs(std::string_view unit, std::uint64_t& ms) {
    if (unit == "ms")
        ms = 1;
    else if (unit == "s")
        ms = 1000;
    else if (unit == "m")
        ms = 60'000;
    else if (unit == "h")
        ms = 3'600'000;
    else if (unit == "d")
        ms = 86'400'000;
    else
        return false;
    return true;
}

WString Cursor::Text() {
    WString text;
    const int start = Peek().column;
    for (;;) {
        WString piece = line_.tokens[index_++].text;
        if (NextIsWord("*")) {
            ++index_;
            const long long count = Number("a repeat count", 0, kMaxTextUnits);
            if (!piece.empty() && static_cast<std::size_t>(count) > kMaxTextUnits / piece.size())
                Fail(start,
                     "the text is longer than " + std::to_string(kMaxTextUnits) + " UTF-16 units");
            WString repeated;
            repeated.reserve(piece.size() * static_cast<std::size_t>(count));
            for (long long i = 0; i < count; ++i)
                repeated += piece;
            piece = std::move(repeated);
        }
        if (text.size() + piece.size() > kMaxTextUnits)
            Fail(start,
                 "the text is longer than " + std::to_string(kMaxTextUnits) + " UTF-16 units");
        text += piece;
        if (!NextIsWord("+"))
            return text;
        ++index_;
        if (AtEnd() || Peek().kind != Token::Kind::String)
            Missing("a string in double quotes after `+`");
    }
}

WString KeyPath(Cursor& c) {
    const int column = c.Column();
    WString path = c.Name("a key path (HKCU\\... or HKLM\\...)");
    WString upper;
    for (WCHAR ch : path)
        upper.push_back(ch >= u'a' && ch <= u'z' ? static_cast<WCHAR>(ch - 32) : ch);
    for (const WString& prefix :
         {WString(u"HKCU\\"), WString(u"HKLM\\"), WString(u"HKEY_CURRENT_USER\\"),
          WString(u"HKEY_LOCAL_MACHINE\\")}) {
        if (BeginsWith(upper, prefix) && upper.size() > prefix.size())
            return path;
    }
    c.Fail(column, "a key path starts with HKCU\\ or HKLM\\ and names a key below it");
}

std::vector<std::uint8_t> HexBytes(Cursor& c) {
    std::vector<std::uint8_t> bytes;
    while (!c.AtEnd() && c.Peek().kind == Token::Kind::Word) {
        const Token& token = c.Take();
        int pending = -1;
        int column = token.column;
        for (char ch : token.word) {
            int v = ch >= '0' && ch <= '9'   ? ch - '0'
                    : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                    : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                             : -1;
            if (ch == ',' && pending < 0) {
                ++column;
                continue;
            }
            if (v < 0)
                c.Fail(column, "binary data is hex digits, two for each byte");
            if (pending < 0) {
                pending = v;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(pending * 16 + v));
                pending = -1;
            }
            ++column;
        }
        if (pending >= 0)
            c.Fail(token.column, "binary data is hex digits, two for each byte (odd count)");
    }
    return bytes;
}

// dword N | sz "TEXT" | binary HEX [| absent]
RegData Value(Cursor& c, bool allowAbsent) {
    RegData data;
    int kind = allowAbsent ? c.Choice("a value type", {"dword", "sz", "binary", "absent"})
                           : c.Choice("a value type", {"dword", "sz", "binary"});
    switch (kind) {
    case 0:
        data.kind = RegData::Kind::Dword;
        data.dword = static_cast<std::uint32_t>(c.Number("a dword", -2147483648LL, 4294967295LL) &
                                                0xFFFFFFFFLL);
        break;
    case 1:
        data.kind = RegData::Kind::Sz;
        data.text = c.String("a text");
        break;
    case 2:
        data.kind = RegData::Kind::Binary;
        data.bytes = HexBytes(c);
        break;
    default:
        data.kind = RegData::Kind::Absent;
        break;
    }
    return data;
}

void Duration(Cursor& c, Step& step) {
    const int column = c.Column();
    const std::string hint = " (write 1500ms, 3s, 2m, 1h, 2d or N ticks)";
    if (c.AtEnd() || c.Peek().kind != Token::Kind::Word)
        c.Missing("a duration" + hint);
    std::string first = c.Word("a duration");
    long long count = 0;
    if (ParseInteger(first, count)) {
        // "N ticks", or "N ms" with the unit apart.
        if (count < 0)
            c.Fail(column, "bad duration " + ShortText(first) + ": a duration cannot be negative");
        if (c.NextIsWord("ticks") || c.NextIsWord("tick")) {
            c.Word("ticks");
            if (count > kMaxTicks)
                c.Fail(column, "bad duration: at most " + std::to_string(kMaxTicks) + " ticks");
            step.inTicks = true;
            step.ticks = static_cast<std::uint64_t>(count);
            return;
        }
        std::uint64_t unit = 0;
        if (!c.AtEnd() && c.Peek().kind == Token::Kind::Word && UnitMs(c.Peek().word, unit)) {
            c.Word("a unit");
            if (static_cast<std::uint64_t>(count) > kMaxWaitMs / unit)
                c.Fail(column, "bad duration: longer than a year");
            step.durationMs = static_cast<std::uint64_t>(count) * unit;
            return;
        }
        c.Fail(column, "bad duration " + ShortText(first) + ": the number needs a unit" + hint);
    }
    switch (ParseDurationWord(first, step.durationMs)) {
    case DurationResult::Ok:
        return;
    case DurationResult::Negative:
        c.Fail(column, "bad duration " + ShortText(first) + ": a duration cannot be negative");
    case DurationResult::TooLong:
        c.Fail(column, "bad duration " + ShortText(first) + ": longer than a year");
    case DurationResult::Malformed:
        break;
    }
    c.Fail(column, "bad duration `" + ShortText(first) + "`" + hint);
}

bool OnOff(Cursor& c) {
    return c.Choice("on or off", {"on", "off"}) == 0;
}

} // namespace kiposim::parse
