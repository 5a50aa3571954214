// Call patterns as the call checks use them: numbers by value, Kipo's windows by name, text
// with wildcards, argument counts, results; and the call log's ordered search and counts.
#include <gtest/gtest.h>

#include "tools/kipo-sim/call_log.h"

using namespace kiposim;

namespace {

LoggedCall Call(std::string name, std::string args, std::string result,
                std::vector<HandleLabel> labels = {}, Caller who = Caller::Kipo) {
    LoggedCall call;
    call.name = std::move(name);
    call.args = SplitArgs(args);
    call.result = std::move(result);
    call.labels = std::move(labels);
    call.labels.resize(call.args.size(), HandleLabel::None);
    call.caller = who;
    return call;
}

const HandleLabel D = HandleLabel::Dialog;
const HandleLabel M = HandleLabel::Main;

struct MatchCase {
    int line;
    const char* pattern;
    bool matches;
};

TEST(CallPattern, MatchesLikeTheTraceLine) {
    const LoggedCall hotKey = Call("RegisterHotKey", "0x10024, 193, 4104, 193", "1", {D});
    const MatchCase cases[] = {
        {__LINE__, "RegisterHotKey", true},
        {__LINE__, "RegisterHotKey(dialog, 0xC1, 0x1008, 0xC1)", true},
        {__LINE__, "RegisterHotKey(dialog, 193, 4104, 193) = 1", true},
        {__LINE__, "RegisterHotKey(*, *, *, *)", true},
        {__LINE__, "RegisterHotKey(dialog, ...)", true},
        {__LINE__, "RegisterHotKey(0x10024, 0xc1, 0X1008, 193)", true},
        {__LINE__, "RegisterHotKey(main, 0xC1, 0x1008, 0xC1)", false},   // not the main window
        {__LINE__, "RegisterHotKey(dialog, 0xC1, 0x0008, 0xC1)", false}, // MOD_KEYUP missing
        {__LINE__, "RegisterHotKey(dialog, 0xC1, 0x1008)", false},       // one argument short
        {__LINE__, "RegisterHotKey(dialog, 0xC1, 0x1008, 0xC1, 0)", false},
        {__LINE__, "RegisterHotKey(dialog, 0xC1, 0x1008, 0xC1) = 0", false},
        {__LINE__, "RegisterHotkey", false}, // names are exact
        {__LINE__, "UnregisterHotKey", false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line) + ": " + c.pattern);
        CallPattern pattern;
        std::string error;
        ASSERT_TRUE(CallPattern::Parse(c.pattern, pattern, error)) << error;
        EXPECT_EQ(pattern.Matches(hotKey.name, hotKey.args, hotKey.labels, hotKey.result),
                  c.matches);
    }
}

TEST(CallPattern, TextWildcardsAndSignedNumbers) {
    const LoggedCall proc = Call("GetProcAddressW", "0x1f60000, \"UnregisterFunc1\"", "0x55");
    const LoggedCall timer = Call("SetTimer", "0x10018, 1, 1500, NULL", "1", {M});
    const LoggedCall wait = Call("WaitForSingleObject", "<ev>, 4294967295", "258");
    const struct {
        int line;
        const LoggedCall* call;
        const char* pattern;
        bool matches;
    } cases[] = {
        {__LINE__, &proc, "GetProcAddressW(*, \"UnregisterFunc1\")", true},
        {__LINE__, &proc, "GetProcAddressW(*, \"Unregister*\")", true},
        {__LINE__, &proc, "GetProcAddressW(*, \"*Func?\")", false},      // only * is a wildcard
        {__LINE__, &proc, "GetProcAddressW(*, UnregisterFunc1)", false}, // strings keep quotes
        {__LINE__, &timer, "SetTimer(main, 1, 1500, NULL) = 1", true},
        {__LINE__, &timer, "SetTimer(main, 1, 500, NULL)", false},
        {__LINE__, &timer, "SetTimer(main, 2, 1500, NULL)", false},
        {__LINE__, &timer, "SetTimer(main, 1, 1500, 0)", false}, // NULL is text, not 0
        {__LINE__, &wait, "WaitForSingleObject(<ev>, -1)", true},
        {__LINE__, &wait, "WaitForSingleObject(<ev>, 0xFFFFFFFF) = 0x102", true},
        {__LINE__, &wait, "WaitForSingleObject(<e*>, -2)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line) + ": " + c.pattern);
        CallPattern pattern;
        std::string error;
        ASSERT_TRUE(CallPattern::Parse(c.pattern, pattern, error)) << error;
        EXPECT_EQ(pattern.Matches(c.call->name, c.call->args, c.call->labels, c.call->result),
                  c.matches);
    }
}

CallPattern Pattern(const char* text) {
    CallPattern pattern;
    std::string error;
    EXPECT_TRUE(CallPattern::Parse(text, pattern, error)) << error;
    return pattern;
}

TEST(CallLog, OrderedChecksMoveOnAndMarksStartAfresh) {
    CallLog log;
    log.KeepRecords(true);
    log.Add(Call("Sleep", "10", ""));
    log.Add(Call("SendMessageW", "0x1, 273, 4098, 0", "0", {}, Caller::Others));
    log.Add(Call("Sleep", "20", ""));
    log.Add(Call("SendMessageW", "0x1, 273, 4097, 0", "0", {}, Caller::Widcomm));

    EXPECT_NE(log.Next(Pattern("Sleep(20)"), std::nullopt), nullptr);
    // Sleep(10) came before the previous match: in order, it is no longer there.
    EXPECT_EQ(log.Next(Pattern("Sleep(10)"), std::nullopt), nullptr);
    // ... but an unordered look still finds it.
    EXPECT_NE(log.First(Pattern("Sleep(10)"), std::nullopt), nullptr);
    // By program.
    EXPECT_EQ(log.Next(Pattern("SendMessageW(*, *, 4097, *)"), Caller::Others), nullptr);
    EXPECT_NE(log.Next(Pattern("SendMessageW(*, *, 4097, *)"), Caller::Widcomm), nullptr);

    EXPECT_EQ(log.Count("SendMessageW", std::nullopt, false), 2u);
    EXPECT_EQ(log.Count("SendMessageW", Caller::Widcomm, false), 1u);
    EXPECT_EQ(log.Count("SendMessageW", Caller::Kipo, false), 0u);
    EXPECT_EQ(log.Count("Sleep", Caller::Kipo, true), 2u);

    log.Mark();
    EXPECT_EQ(log.Count("Sleep", std::nullopt, true), 0u);
    EXPECT_EQ(log.Count("Sleep", std::nullopt, false), 2u); // since boot stays
    EXPECT_EQ(log.First(Pattern("Sleep"), std::nullopt), nullptr);
    log.Add(Call("Sleep", "10", ""));
    EXPECT_NE(log.Next(Pattern("Sleep(10)"), std::nullopt), nullptr);
    EXPECT_EQ(log.Count("Sleep", std::nullopt, true), 1u);
}

TEST(CallLog, CountsWithoutKeepingRecords) {
    CallLog log;
    log.Add(Call("Sleep", "10", ""));
    EXPECT_EQ(log.Count("Sleep", Caller::Kipo, false), 1u);
    EXPECT_EQ(log.First(Pattern("Sleep"), std::nullopt), nullptr);
}

} // namespace
