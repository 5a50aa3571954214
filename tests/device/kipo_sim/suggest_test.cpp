// "Did you mean": which slips find their name, and which words are too far to guess.
#include <gtest/gtest.h>

#include <array>

#include "tools/kipo-sim/suggest.h"

using namespace kiposim;

TEST(Suggest, EditDistance) {
    struct Case {
        const char* a;
        const char* b;
        std::size_t distance;
    };
    const Case cases[] = {
        {"", "", 0},         {"", "wait", 4},         {"wait", "", 4},
        {"wait", "wait", 0}, {"WAIT", "wait", 0},     {"wiat", "wait", 1}, // swap
        {"wat", "wait", 1},  {"waits", "wait", 1},    {"wakt", "wait", 1},
        {"tiaw", "wait", 3}, {"expect", "except", 2}, {"ca", "abc", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(EditDistance(c.a, c.b), c.distance);
        EXPECT_EQ(EditDistance(c.b, c.a), c.distance);
    }
}

TEST(Suggest, ClosestNameWithinReach) {
    constexpr std::array<std::string_view, 9> options = {
        "--quiet",         "--trace",        "--explain", "--svg",    "--registry",
        "--save-registry", "--show-builtin", "--help",    "--version"};
    struct Case {
        const char* word;
        const char* expected; // "" : no guess
    };
    const Case cases[] = {
        {"--quite", "--quiet"},
        {"--explian", "--explain"},
        {"--QUIET", "--quiet"},
        {"--sv", "--svg"},
        {"--registery", "--registry"},
        {"--save-regsitry", "--save-registry"},
        {"--verison", "--version"},
        {"--quiet", ""},  // known: nothing to suggest
        {"--colour", ""}, // nothing near
        {"--xyz", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const auto guess = Suggest(c.word, options);
        EXPECT_EQ(guess.value_or(""), c.expected);
        EXPECT_EQ(DidYouMean(c.word, options),
                  *c.expected ? std::string(" (did you mean ") + c.expected + "?)" : "");
    }
}

TEST(Suggest, ReachGrowsWithTheWord) {
    // Short words allow one slip, longer ones more; one- and two-letter words none.
    constexpr std::array<std::string_view, 4> names = {"at", "wait", "caption", "registrykey"};
    struct Case {
        const char* word;
        const char* expected;
    };
    const Case cases[] = {
        {"ax", ""},                     // two letters: any guess would do
        {"wiat", "wait"},               // one swap
        {"wxyt", ""},                   // two edits in four letters
        {"cpation", "caption"},         // one swap in seven
        {"captxxn", "caption"},         // two in seven
        {"cxxtixn", ""},                // three in seven
        {"registrkyye", "registrykey"}, // three in eleven
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(Suggest(c.word, names).value_or(""), c.expected);
    }
}

TEST(Suggest, TiesGoToTheEarlierName) {
    // "xtt" is one edit from both; the list's order decides.
    constexpr std::array<std::string_view, 2> ab = {"xta", "xtb"};
    constexpr std::array<std::string_view, 2> ba = {"xtb", "xta"};
    EXPECT_EQ(Suggest("xtt", ab).value_or(""), "xta");
    EXPECT_EQ(Suggest("xtt", ba).value_or(""), "xtb");
}
