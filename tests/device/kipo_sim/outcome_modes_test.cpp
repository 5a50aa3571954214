// What came of Kipo's decisions is counted alike whether the run prints its timeline, explains
// it or stays quiet (the lines are put together only when they will be printed), and a
// decision that keeps failing is said once, not at every tick.
#include <gtest/gtest.h>

#include "tests/device/kipo_sim/sim_run.h"

using namespace kiposim::simrun;

namespace {

// The running list decides WiFi at every tick; the card refuses at every tick.
const char* const kScenario = "wifi broken\n"
                              "setting OnRunList sz \"#wSync\"\n"
                              "open \"Sync\"\n"
                              "wait 3 ticks\n";
const char* const kTimeline = "WiFi decided on by running list entry 1 \"sync\" (its window "
                              "exists): no effect, the radio stays off (the adapter refused full "
                              "power and the wake sequence did not help)";
const char* const kExplained = "            WiFi outcome: no effect, the radio stays off: the "
                               "adapter refused full power and the wake sequence did not help\n";
const char* const kSummary = "Decisions  3 by Kipo, 3 of them without effect (Bluetooth 0, WiFi 3)";

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(OutcomeModes, DecisionsWithoutEffectAreCountedInEveryMode) {
    struct Row {
        std::vector<std::string> options;
        std::size_t timeline; // times the failing decision is said
        std::size_t explained;
    };
    // clang-format off
    const Row rows[] = {
        {.options = {}, .timeline = 1, .explained = 0},
        {.options = {"--quiet"}, .timeline = 0, .explained = 0},
        {.options = {"--explain"}, .timeline = 1, .explained = 1},
        {.options = {"--explain", "--quiet"}, .timeline = 0, .explained = 0},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options.empty() ? "plain" : row.options[0] + " ...");
        const SimRun run = RunText(kScenario, row.options);
        EXPECT_EQ(run.code, 0) << run.out << run.err;
        EXPECT_EQ(Count(run.out, kSummary), 1u) << run.out;
        EXPECT_EQ(Count(run.out, kTimeline), row.timeline) << run.out;
        EXPECT_EQ(Count(run.out, kExplained), row.explained) << run.out;
    }
}

} // namespace
