// kipo-sim reports the run in the order things happened on the device: a wait by ticks ends
// right after its last tick, the timeline lists radios as they switched, and a run whose
// program is never idle still ends.
#include <gtest/gtest.h>

#include "tests/device/kipo_sim/sim_run.h"

using namespace kiposim;
using namespace kiposim::simrun;

namespace {

// The adapter absent and a Running-list window present: every tick runs the WLAN wake
// sequence (two kernel I/O controls around a 10 ms Sleep, two events opened and closed).
const char* const kWakeEveryTick = "wifi absent\n"
                                   "setting OnRunList sz \"#wSync\"\n"
                                   "open \"Sync\"\n";

std::size_t Find(const std::string& text, const std::string& what) {
    return text.find(what);
}

TEST(KipoSimOrder, AWaitByTicksEndsRightAfterItsLastTickWhateverThatTickDoes) {
    struct Case {
        int line;
        const char* cmdline; // interval in ms; empty: the default 1500
        const char* steps;
    };
    const Case cases[] = {
        // The default interval: the tick sleeps 10 ms and ends long before the next expiry.
        {__LINE__, "",
         "wait 1 tick\nexpect calls KernelIoControl 2\nexpect handles 0\n"
         "wait 2 ticks\nexpect calls KernelIoControl 6\nexpect handles 0\n"},
        // The timer is due again when the sleep ends: the checks still see one tick, not two.
        {__LINE__, "10",
         "wait 1 tick\nexpect calls KernelIoControl 2\nexpect handles 0\n"
         "wait 3 ticks\nexpect calls KernelIoControl 8\nexpect handles 0\n"},
        {__LINE__, "1", "wait 1 tick\nexpect calls KernelIoControl 2\nexpect calls Sleep 2\n"},
        {__LINE__, "11", "wait 2 ticks\nexpect calls KernelIoControl 4\nexpect handles 0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string scenario = std::string(*c.cmdline ? "cmdline \"" : "") + c.cmdline +
                               (*c.cmdline ? "\"\n" : "") + kWakeEveryTick + c.steps;
        SimRun run = RunText(scenario, {"--quiet"});
        EXPECT_EQ(run.code, 0) << run.out << run.err;
        EXPECT_NE(Find(run.out, "0 failed"), std::string::npos) << run.out;
    }
}

TEST(KipoSimOrder, AProgramThatIsNeverIdleStillEndsWhenTheScenarioDoes) {
    // At 1 to 10 ms the check timer is due again whenever the program looks for a message:
    // the end of the run comes before it, as WM_QUIT comes before timer messages.
    for (const char* interval : {"1", "10"}) {
        for (const char* last : {"wait 1 tick\n", "wait 1s\n", "wait 250ms\nexpect running\n"}) {
            SCOPED_TRACE(std::string(interval) + " ms, " + last);
            SimRun run =
                RunText(std::string("cmdline \"") + interval + "\"\n" + kWakeEveryTick + last);
            EXPECT_EQ(run.code, 0) << run.out << run.err;
            EXPECT_NE(Find(run.out, "Kipo.exe ended, exit code 0"), std::string::npos) << run.out;
        }
    }
}

TEST(KipoSimOrder, TheTimelineListsRadiosInTheOrderTheySwitched) {
    // One tick switches both radios: Bluetooth on by its Running-list entry, WiFi off by its
    // off entry (an Active-list entry for Bluetooth would end the tick before the off list).
    // With off lists first WiFi goes first; without, Bluetooth does.
    struct Case {
        int line;
        int offFirst;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {__LINE__, 1, "WiFi off  by Kipo", "Bluetooth on  by Kipo"},
        {__LINE__, 0, "Bluetooth on  by Kipo", "WiFi off  by Kipo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SimRun run = RunText("stack microsoft\nwifi on\nsetting BTControl dword 1\n"
                             "setting OffTakesPrecedence dword " +
                                 std::to_string(c.offFirst) +
                                 "\n"
                                 "setting OnRunList sz \"#bPhone\"\n"
                                 "setting OffList sz \"#wPhone\"\n"
                                 "open \"Phone\"\n"
                                 "wait 1 tick\n"
                                 "expect bt on\n"
                                 "expect wifi off\n",
                             {"--trace"});
        ASSERT_EQ(run.code, 0) << run.out;
        const std::size_t first = Find(run.out, c.first);
        const std::size_t second = Find(run.out, c.second);
        ASSERT_NE(first, std::string::npos) << run.out;
        ASSERT_NE(second, std::string::npos) << run.out;
        EXPECT_LT(first, second) << run.out;
        // The trace agrees: the first radio's call comes before the second's.
        const std::size_t power = Find(run.out, "SetDevicePower(");
        const std::size_t mode = Find(run.out, "BthSetMode(1)");
        ASSERT_NE(power, std::string::npos) << run.out;
        ASSERT_NE(mode, std::string::npos) << run.out;
        EXPECT_EQ(power < mode, c.offFirst == 1) << run.out;
    }
}

} // namespace
