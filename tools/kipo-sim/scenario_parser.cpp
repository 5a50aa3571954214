#include "tools/kipo-sim/scenario_parser.h"

#include <charconv>
#include <initializer_list>
#include <limits>

#include "tools/kipo-sim/scenario_lexer.h"

namespace kiposim {

namespace {

// A wait longer than this is almost surely a typo; the run would only burn time.
constexpr std::uint64_t kMaxWaitMs = 366ull * 24 * 3600 * 1000;
constexpr long long kMaxTicks = 100'000'000;

std::string Quote(const Token& token) {
    if (token.kind == Token::Kind::String)
        return "\"" + ToUtf8(token.text) + "\"";
    return "`" + token.word + "`";
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
    else
        return false;
    return true;
}

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

    WString String(const std::string& what) {
        if (AtEnd() || Peek().kind != Token::Kind::String)
            Missing(what + " in double quotes");
        return line_.tokens[index_++].text;
    }

    // Names and key paths: a bare word, or a string when they hold blanks or "#".
    WString Name(const std::string& what) {
        if (AtEnd())
            Missing(what);
        const Token& token = line_.tokens[index_++];
        return token.kind == Token::Kind::String ? token.text : FromUtf8(token.word);
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
    const TokenLine& line_;
    std::size_t index_ = 0;
};

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
    const std::string hint = " (write 1500ms, 3s, 2m, 1h or N ticks)";
    if (c.AtEnd() || c.Peek().kind != Token::Kind::Word)
        c.Missing("a duration" + hint);
    std::string first = c.Word("a duration");
    long long count = 0;
    if (ParseInteger(first, count)) {
        // "N ticks", or "N ms" with the unit apart.
        if (count < 0)
            c.Fail(column, "bad duration " + first + ": a duration cannot be negative");
        if (c.NextIsWord("ticks") || c.NextIsWord("tick")) {
            c.Word("ticks");
            if (count > kMaxTicks)
                c.Fail(column, "bad duration: at most " + std::to_string(kMaxTicks) + " ticks");
            step.ticks = true;
            step.durationMs = static_cast<std::uint64_t>(count);
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
        c.Fail(column, "bad duration " + first + ": the number needs a unit" + hint);
    }
    switch (ParseDurationWord(first, step.durationMs)) {
    case DurationResult::Ok:
        return;
    case DurationResult::Negative:
        c.Fail(column, "bad duration " + first + ": a duration cannot be negative");
    case DurationResult::TooLong:
        c.Fail(column, "bad duration " + first + ": longer than a year");
    case DurationResult::Malformed:
        break;
    }
    c.Fail(column, "bad duration `" + first + "`" + hint);
}

int ControlId(Cursor& c) {
    return static_cast<int>(c.Number("a control id", 0, 65535));
}

bool OnOff(Cursor& c) {
    return c.Choice("on or off", {"on", "off"}) == 0;
}

void ParseExpect(Cursor& c, Step& step) {
    const int column = c.Column();
    std::string what = c.Word("what to expect");
    if (what == "bt" || what == "wifi") {
        step.kind = what == "bt" ? StepKind::ExpectBt : StepKind::ExpectWifi;
        step.on = OnOff(c);
    } else if (what == "running") {
        step.kind = StepKind::ExpectRunning;
    } else if (what == "ended") {
        step.kind = StepKind::ExpectEnded;
    } else if (what == "icon") {
        step.kind = StepKind::ExpectIcon;
        if (c.NextIsWord("shown") || c.NextIsWord("hidden")) {
            step.icon =
                c.Choice("", {"shown", "hidden"}) == 0 ? IconCheck::Shown : IconCheck::Hidden;
        } else {
            step.icon = IconCheck::Resource;
            step.number = c.Number("`shown`, `hidden` or an icon resource number", 0, 65535);
        }
    } else if (what == "menu") {
        step.kind = StepKind::ExpectMenu;
        step.on = c.Choice("the menu state", {"open", "closed"}) == 0;
    } else if (what == "window") {
        step.kind = StepKind::ExpectWindow;
        step.text = c.String("a caption");
        int state = c.Choice("the window state", {"visible", "hidden", "absent"});
        step.window = state == 0   ? WindowCheck::Visible
                      : state == 1 ? WindowCheck::Hidden
                                   : WindowCheck::Absent;
    } else if (what == "foreground") {
        step.kind = StepKind::ExpectForeground;
        // `none` (no foreground window) is a word; a caption is always a string.
        if (c.NextIsWord("none")) {
            c.Word("none");
            step.on = false;
        } else {
            step.text = c.String("a caption (or `none`)");
            step.on = true;
        }
    } else if (what == "text") {
        step.kind = StepKind::ExpectText;
        step.number = ControlId(c);
        step.text = c.String("a text");
    } else if (what == "checked") {
        step.kind = StepKind::ExpectChecked;
        step.number = ControlId(c);
        step.on = OnOff(c);
    } else if (what == "selected") {
        step.kind = StepKind::ExpectSelected;
        step.number = ControlId(c);
        step.number2 = c.Number("an item number (-1: none)", -1, 65535);
    } else if (what == "setting") {
        step.kind = StepKind::ExpectSetting;
        step.text = c.Name("a setting name");
        step.value = Value(c, true);
    } else if (what == "reg") {
        step.kind = StepKind::ExpectReg;
        step.text = KeyPath(c);
        step.text2 = c.Name("a value name");
        step.value = Value(c, true);
    } else if (what == "key") {
        step.kind = StepKind::ExpectKey;
        step.text = KeyPath(c);
        step.on = c.Choice("`exists` or `absent`", {"exists", "absent"}) == 0;
    } else if (what == "interval") {
        step.kind = StepKind::ExpectInterval;
        step.number = c.Number("a period in ms", std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::uint32_t>::max());
    } else if (what == "calls") {
        step.kind = StepKind::ExpectCalls;
        step.operation = c.Word("an operation name (e.g. SetDevicePower)");
        step.number = c.Number("a call count", 0, std::numeric_limits<long long>::max());
    } else if (what == "handles") {
        step.kind = StepKind::ExpectHandles;
        step.number = c.Number("a handle count", 0, 1'000'000);
    } else {
        c.Fail(column, "unknown check `expect " + what + "`");
    }
}

Step ParseStep(const TokenLine& line) {
    Cursor c(line);
    Step step;
    step.line = line.line;
    step.column = c.Column();
    step.source = line.source;
    const int column = c.Column();
    if (c.Peek().kind != Token::Kind::Word)
        c.Fail(column, "a step begins with a word, not a string");
    const std::string word = c.Word("a step");

    if (word == "exe") {
        step.kind = StepKind::Exe;
        step.text = c.String("an executable file name");
        if (step.text.empty())
            c.Fail(column, "the executable name cannot be empty");
    } else if (word == "cmdline") {
        step.kind = StepKind::Cmdline;
        step.text = c.String("the command-line text");
    } else if (word == "screen") {
        step.kind = StepKind::Screen;
        step.number = c.Number("a screen width in pixels", 1, 32767);
        step.number2 = c.Number("a screen height in pixels", 1, 32767);
    } else if (word == "stack") {
        step.kind = StepKind::Stack;
        int s = c.Choice("a Bluetooth stack", {"widcomm", "microsoft", "none"});
        step.stack = s == 0 ? StackKind::Widcomm : s == 1 ? StackKind::Microsoft : StackKind::None;
    } else if (word == "bt") {
        step.kind = StepKind::Bt;
        step.on = OnOff(c);
    } else if (word == "wifi") {
        step.kind = StepKind::Wifi;
        int s = c.Choice("the WLAN adapter's state", {"on", "off", "absent", "stuck"});
        step.wifi = s == 0   ? WifiSetUp::On
                    : s == 1 ? WifiSetUp::Off
                    : s == 2 ? WifiSetUp::Absent
                             : WifiSetUp::Stuck;
    } else if (word == "hold") {
        c.Choice("a key", {"up"});
        step.kind = StepKind::HoldUp;
    } else if (word == "setting") {
        step.kind = StepKind::Setting;
        step.text = c.Name("a setting name");
        step.value = Value(c, false);
    } else if (word == "reg") {
        step.kind = StepKind::Reg;
        step.text = KeyPath(c);
        step.text2 = c.Name("a value name");
        step.value = Value(c, false);
    } else if (word == "reg-delete") {
        step.kind = StepKind::RegDelete;
        step.text = KeyPath(c);
        if (!c.AtEnd()) {
            step.text2 = c.Name("a value name");
            step.hasText2 = true;
        }
    } else if (word == "start") {
        step.kind = StepKind::Start;
    } else if (word == "wait") {
        step.kind = StepKind::Wait;
        Duration(c, step);
    } else if (word == "open" || word == "open-behind" || word == "front" || word == "close") {
        step.kind = word == "open"          ? StepKind::Open
                    : word == "open-behind" ? StepKind::OpenBehind
                    : word == "front"       ? StepKind::Front
                                            : StepKind::Close;
        step.text = c.String("a caption");
    } else if (word == "rename") {
        step.kind = StepKind::Rename;
        step.text = c.String("the old caption");
        step.text2 = c.String("the new caption");
    } else if (word == "today") {
        step.kind = StepKind::Today;
    } else if (word == "no-front") {
        step.kind = StepKind::NoFront;
    } else if (word == "press") {
        step.kind =
            c.Choice("a key", {"up", "app1"}) == 0 ? StepKind::PressUp : StepKind::PressApp1;
    } else if (word == "release") {
        c.Choice("a key", {"up"});
        step.kind = StepKind::ReleaseUp;
    } else if (word == "tap") {
        step.kind = StepKind::Tap;
    } else if (word == "tap-other") {
        step.kind = StepKind::TapOther;
    } else if (word == "menu") {
        step.kind = StepKind::Menu;
        step.text = c.String("a menu item's text");
    } else if (word == "dismiss") {
        step.kind = StepKind::Dismiss;
    } else if (word == "type") {
        step.kind = StepKind::Type;
        step.number = ControlId(c);
        step.text = c.String("the text to type");
    } else if (word == "check") {
        step.kind = StepKind::Check;
        step.number = ControlId(c);
        step.on = OnOff(c);
    } else if (word == "select") {
        step.kind = StepKind::Select;
        step.number = ControlId(c);
        step.number2 = c.Number("an item number (-1: none)", -1, 65535);
    } else if (word == "choose") {
        step.kind = StepKind::Choose;
        step.number = ControlId(c);
    } else if (word == "click") {
        step.kind = StepKind::Click;
        if (c.NextIsWord("OK")) {
            c.Word("OK");
            step.number = IDOK;
        } else if (c.NextIsWord("Cancel")) {
            c.Word("Cancel");
            step.number = IDCANCEL;
        } else {
            step.number = c.Number("a button id, `OK` or `Cancel`", 0, 65535);
        }
    } else if (word == "user-bt" || word == "user-wifi") {
        step.kind = word == "user-bt" ? StepKind::UserBt : StepKind::UserWifi;
        step.on = OnOff(c);
    } else if (word == "expect") {
        ParseExpect(c, step);
    } else {
        c.Fail(column, "unknown step `" + word + "`");
    }
    c.End();
    return step;
}

} // namespace

DurationResult ParseDurationWord(std::string_view word, std::uint64_t& ms) {
    // One or more number-unit pairs with nothing between them: "1500ms", "1m30s".
    if (!word.empty() && word[0] == '+')
        word.remove_prefix(1);
    else if (!word.empty() && word[0] == '-')
        return word.size() > 1 && word[1] >= '0' && word[1] <= '9' ? DurationResult::Negative
                                                                   : DurationResult::Malformed;
    if (word.empty())
        return DurationResult::Malformed;
    std::uint64_t total = 0;
    std::size_t i = 0;
    while (i < word.size()) {
        std::size_t digitsEnd = i;
        while (digitsEnd < word.size() && word[digitsEnd] >= '0' && word[digitsEnd] <= '9')
            ++digitsEnd;
        if (digitsEnd == i)
            return DurationResult::Malformed;
        std::size_t unitEnd = digitsEnd;
        while (unitEnd < word.size() && (word[unitEnd] < '0' || word[unitEnd] > '9'))
            ++unitEnd;
        std::uint64_t unit = 0;
        if (!UnitMs(word.substr(digitsEnd, unitEnd - digitsEnd), unit))
            return DurationResult::Malformed;
        std::uint64_t count = 0;
        auto [end, error] = std::from_chars(word.data() + i, word.data() + digitsEnd, count);
        if (error == std::errc::result_out_of_range)
            return DurationResult::TooLong;
        if (error != std::errc() || end != word.data() + digitsEnd)
            return DurationResult::Malformed;
        if (count > kMaxWaitMs / unit || total + count * unit > kMaxWaitMs)
            return DurationResult::TooLong;
        total += count * unit;
        i = unitEnd;
    }
    ms = total;
    return DurationResult::Ok;
}

Scenario ParseScenario(std::string_view text, std::string name) {
    Scenario scenario;
    scenario.name = std::move(name);
    bool started = false;   // an explicit start has been seen
    bool timedSeen = false; // a step that needs the clock or the program has been seen
    for (const TokenLine& line : Tokenize(text)) {
        Step step = ParseStep(line);
        if (step.kind == StepKind::Start) {
            started = true;
            scenario.explicitStart = true;
        } else if (IsSetUpStep(step.kind)) {
            if (started)
                throw ScenarioError(step.line, step.column,
                                    std::string("set-up step `") + StepName(step.kind) +
                                        "` after `start`: set-up comes before the program starts");
        } else if (!IsRegistryStep(step.kind) && !timedSeen) {
            timedSeen = true;
            scenario.implicitStartIndex = scenario.steps.size();
        }
        scenario.steps.push_back(std::move(step));
    }
    if (!timedSeen)
        scenario.implicitStartIndex = scenario.steps.size();
    if (!scenario.explicitStart) {
        // Without a start the program starts right after the set-up steps; set-up written
        // after that point would come too late.
        for (std::size_t i = scenario.implicitStartIndex; i < scenario.steps.size(); ++i) {
            const Step& step = scenario.steps[i];
            if (IsSetUpStep(step.kind))
                throw ScenarioError(
                    step.line, step.column,
                    std::string("set-up step `") + StepName(step.kind) +
                        "` after the program has started (without `start` it starts before the "
                        "first timed step)");
        }
    }
    return scenario;
}

} // namespace kiposim
