// The parser's cursor over one line of tokens and the pieces several steps share (numbers,
// durations, key paths, registry values), for the files of the scenario parser only.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kipo-sim/scenario.h"
#include "tools/kipo-sim/scenario_error.h"
#include "tools/kipo-sim/scenario_lexer.h"

namespace kiposim::parse {

// A wait longer than this is almost surely a typo; the run would only burn time.
constexpr std::uint64_t kMaxWaitMs = 366ull * 24 * 3600 * 1000;
constexpr long long kMaxTicks = 100'000'000;
// A text built with * and + longer than this is a typo in a count, not a test.
constexpr std::size_t kMaxTextUnits = 1'000'000;

// A token as the user wrote it, for messages.
std::string Quote(const Token& token);
// A decimal number with an optional sign; false when it is not one or does not fit.
bool ParseInteger(std::string_view word, long long& value);
// Milliseconds in one unit (ms, s, m, h, d); false for anything else.
bool UnitMs(std::string_view unit, std::uint64_t& ms);

class Cursor {
  public:
    explicit Cursor(const TokenLine& line) : line_(line) {}

    bool AtEnd() const { return index_ >= line_.tokens.size(); }
    const Token& Peek() const { return line_.tokens[index_]; }
    int Column() const { return AtEnd() ? line_.endColumn : Peek().column; }
    int Line() const { return line_.line; }

    [[noreturn]] void Fail(int column, const std::string& message) const {
        throw ScenarioError(line_.line, column, message);
    }
    [[noreturn]] void Missing(const std::string& what) const {
        if (AtEnd())
            Fail(line_.endColumn, "missing " + what);
        Fail(Peek().column, "expected " + what + ", found " + Quote(Peek()));
    }

    bool NextIsWord(std::string_view word) const {
        return !AtEnd() && Peek().kind == Token::Kind::Word && Peek().word == word;
    }

    std::string Word(const std::string& what) {
        if (AtEnd() || Peek().kind != Token::Kind::Word)
            Missing(what);
        return line_.tokens[index_++].word;
    }

    // A string, or a text built of strings: "ab" * 3 repeats, + joins ("#b" + "x" * 255).
    WString String(const std::string& what) {
        if (AtEnd() || Peek().kind != Token::Kind::String)
            Missing(what + " in double quotes");
        return Text();
    }

    // Names and key paths: a bare word, or a string when they hold blanks or "#".
    WString Name(const std::string& what) {
        if (AtEnd())
            Missing(what);
        if (Peek().kind == Token::Kind::String)
            return Text();
        return FromUtf8(line_.tokens[index_++].word);
    }

    long long Number(const std::string& what, long long min, long long max) {
        if (AtEnd() || Peek().kind != Token::Kind::Word)
            Missing(what);
        const Token& token = Peek();
        long long value = 0;
        if (!ParseInteger(token.word, value))
            Missing(what + " (a decimal number)");
        if (value < min || value > max)
            Fail(token.column, what + " " + token.word + " is out of range (" +
                                   std::to_string(min) + " to " + std::to_string(max) + ")");
        ++index_;
        return value;
    }

    // One of the words; returns its position in the list.
    int Choice(const std::string& what, std::initializer_list<const char*> words) {
        std::string expected;
        int i = 0;
        for (const char* w : words) {
            if (NextIsWord(w)) {
                ++index_;
                return i;
            }
            expected += (i == 0 ? "`" : i + 1 == static_cast<int>(words.size()) ? " or `" : ", `");
            expected += w;
            expected += "`";
            ++i;
        }
        Missing(what + " (" + expected + ")");
    }

    void End() const {
        if (!AtEnd())
            Fail(Peek().column, "unexpected " + Quote(Peek()) + " at the end of the step");
    }

    const Token& Take() { return line_.tokens[index_++]; }

  private:
    WString Text();

    const TokenLine& line_;
    std::size_t index_ = 0;
};

// HKCU\... or HKLM\... (also the long root names), as a bare word or a string.
WString KeyPath(Cursor& c);
// Hex digits, two per byte, in one or more words; commas between bytes are allowed.
std::vector<std::uint8_t> HexBytes(Cursor& c);
// dword N | sz "TEXT" | binary HEX, and `absent` where a check allows it.
RegData Value(Cursor& c, bool allowAbsent);
// DURATION or N ticks, into step.durationMs, or step.ticks with step.inTicks.
void Duration(Cursor& c, Step& step);
bool OnOff(Cursor& c);

} // namespace kiposim::parse
