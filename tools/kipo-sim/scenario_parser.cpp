#include "tools/kipo-sim/scenario_parser.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/short_text.h"
#include "tools/kipo-sim/suggest.h"
#include "tools/kipo-sim/verb.h"

namespace kiposim {

using namespace parse;

namespace {

// The names that begin with `first ` (for "expect", "press"), without that first word.
std::vector<std::string> SecondWords(const std::string& first) {
    std::vector<std::string> words;
    const std::string prefix = first + " ";
    for (const std::string& name : VerbNames())
        if (name.compare(0, prefix.size(), prefix) == 0)
            words.push_back(name.substr(prefix.size()));
    return words;
}

std::vector<std::string> FirstWords() {
    std::vector<std::string> words;
    for (const std::string& name : VerbNames()) {
        std::string first = name.substr(0, name.find(' '));
        if (std::find(words.begin(), words.end(), first) == words.end())
            words.push_back(first);
    }
    return words;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& candidates,
                       const std::string& prefix) {
    const std::string near = Suggest(word, candidates);
    return near.empty() ? "" : "; did you mean `" + prefix + near + "`?";
}

const Verb& ReadVerb(Cursor& c) {
    const int column = c.Column();
    if (c.Peek().kind != Token::Kind::Word)
        c.Fail(column, "a step begins with a word, not a string");
    const std::string word = c.Word("a step");
    if (const Verb* verb = FindVerb(word))
        return *verb;
    const std::vector<std::string> seconds = SecondWords(word);
    if (seconds.empty())
        c.Fail(column,
               "unknown step `" + ShortText(word) + "`" + DidYouMean(word, FirstWords(), ""));
    if (word == "expect") {
        // `expect WHAT ...`; some checks take more than one word (`expect no call`).
        const int whatColumn = c.Column();
        std::string name = word + " " + c.Word("what to expect");
        while (FindVerb(name) == nullptr && !SecondWords(name).empty() && !c.AtEnd() &&
               c.Peek().kind == Token::Kind::Word)
            name += " " + c.Word("what to expect");
        if (const Verb* verb = FindVerb(name))
            return *verb;
        const std::string what = name.substr(word.size() + 1);
        std::vector<std::string> checks = seconds;
        c.Fail(whatColumn, "unknown check `expect " + ShortText(what) + "`" +
                               DidYouMean(what, checks, "expect "));
    }
    // "press up", "release up", "hold up": the second word is a key.
    std::string expected;
    for (std::size_t i = 0; i < seconds.size(); ++i)
        expected += (i == 0 ? "`" : i + 1 == seconds.size() ? " or `" : ", `") + seconds[i] + "`";
    if (!c.AtEnd() && c.Peek().kind == Token::Kind::Word)
        if (const Verb* verb = FindVerb(word + " " + c.Peek().word)) {
            c.Take();
            return *verb;
        }
    c.Missing("a key (" + expected + ")");
}

Step ParseStep(const TokenLine& line) {
    Cursor c(line);
    Step step;
    step.line = line.line;
    step.column = c.Column();
    step.source = line.source;
    step.verb = &ReadVerb(c);
    step.verb->parse(c, step);
    c.End();
    return step;
}

bool IsSetUp(const Step& step) {
    return step.verb->group == VerbGroup::SetUp;
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
        if (step.verb->group == VerbGroup::Start) {
            started = true;
            scenario.explicitStart = true;
        } else if (IsSetUp(step)) {
            if (started)
                throw ScenarioError(step.line, step.column,
                                    std::string("set-up step `") + step.Name() +
                                        "` after `start`: set-up comes before the program starts");
        } else if (step.verb->group != VerbGroup::Registry && !timedSeen) {
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
            if (IsSetUp(step))
                throw ScenarioError(
                    step.line, step.column,
                    std::string("set-up step `") + step.Name() +
                        "` after the program has started (without `start` it starts before the "
                        "first timed step)");
        }
    }
    return scenario;
}

} // namespace kiposim
