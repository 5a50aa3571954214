#include "tools/kipo-sim/scenario_parser.h"

#include <charconv>
#include <limits>

#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/short_text.h"

namespace kiposim {

using namespace parse;

namespace {

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
        c.Fail(column, "unknown step `" + ShortText(word) + "`");
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
