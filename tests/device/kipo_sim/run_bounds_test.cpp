// Whatever a scenario holds, kipo-sim's messages stay short: an error or check line quotes a
// few dozen characters of a huge token or step, with the length of the whole.
#include <gtest/gtest.h>

#include "tests/device/kipo_sim/sim_run.h"
#include "tools/kipo-sim/short_text.h"

using namespace kiposim;
using namespace kiposim::simrun;

namespace {

TEST(KipoSimBounds, ShortTextCutsAfterCodePointsNeverInsideOne) {
    struct Case {
        int line;
        const char* text;
        std::size_t max;
        const char* expected;
    };
    const Case cases[] = {
        {__LINE__, "", 3, ""},
        {__LINE__, "abc", 3, "abc"},
        {__LINE__, "abcd", 3, "abc... (4 characters)"},
        // Two-, three- and four-byte sequences count as one character each.
        {__LINE__, "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80x", 3,
         "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80... (4 characters)"},
        {__LINE__, "\xe2\x82\xac\xe2\x82\xac", 1, "\xe2\x82\xac... (2 characters)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortText(c.text, c.max), c.expected) << "case at line " << c.line;
}

TEST(KipoSimBounds, MessagesAboutHugeTokensAndStepsStayShort) {
    // Each scenario is its text before and after a token of a million characters.
    struct Case {
        int line;
        const char* before;
        const char* after;
        int code;
        const char* mentions;
    };
    const Case cases[] = {
        {__LINE__, "", "\n", 2, "unknown step `xxx"},
        {__LINE__, "wait ", "\n", 2, "bad duration `xxx"},
        {__LINE__, "expect ", "\n", 2, "unknown check `expect xxx"},
        {__LINE__, "open \"a\" \"", "\"\n", 2, "unexpected \"xxx"},
        {__LINE__, "wait 1s\nexpect foreground \"", "\"\n", 1,
         "FAILED line 2: expect foreground \"xxx"},
        {__LINE__, "wait 1s\nfront \"", "\"\n", 1, "FAILED line 2: front \"xxx"},
    };
    const std::vector<std::string> quiet{"--quiet"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string scenario = c.before;
        scenario.append(1'000'000, 'x');
        scenario += c.after;
        SimRun run = RunText(scenario, quiet);
        EXPECT_EQ(run.code, c.code) << run.err.substr(0, 500) << run.out.substr(0, 500);
        const std::string all = run.out + run.err;
        EXPECT_NE(all.find(c.mentions), std::string::npos) << all.substr(0, 1000);
        EXPECT_NE(all.find("characters)"), std::string::npos) << all.substr(0, 1000);
        EXPECT_LT(all.size(), 2000u) << all.substr(0, 1000);
    }
}

} // namespace
