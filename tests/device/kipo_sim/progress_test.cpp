// The progress line: silent until the delay has passed, then redrawn in place a few times a
// second with the simulated time, and erased at the end.
#include <gtest/gtest.h>

#include "tests/device/kipo_sim/sim_run.h"
#include "tools/kipo-sim/progress.h"

using namespace kiposim;

namespace {

using std::chrono::milliseconds;

struct FakeWall {
    std::chrono::steady_clock::time_point now{};
    Progress::Clock Clock() {
        return [this] { return now; };
    }
};

// Enough calls that the progress looks at the clock at least once.
void Calls(Progress& progress, std::uint64_t simulatedMs) {
    for (unsigned i = 0; i < Progress::kCallsPerLook; ++i)
        progress.Update(simulatedMs);
}

TEST(Progress, DrawsAfterTheDelayAtMostFiveTimesASecondAndErasesItself) {
    FakeWall wall;
    std::FILE* err = std::tmpfile();
    {
        Progress progress(err, milliseconds(1000), wall.Clock());
        Calls(progress, 5000);
        wall.now += milliseconds(999);
        Calls(progress, 6000);
        EXPECT_FALSE(progress.Shown());
        wall.now += milliseconds(1);
        Calls(progress, 3 * 86400000ull + 4 * 3600000 + 5 * 60000 + 6789);
        EXPECT_TRUE(progress.Shown());
        wall.now += milliseconds(199); // too soon to redraw
        Calls(progress, 7200000);
        wall.now += milliseconds(1);
        Calls(progress, 3600000 + 999);
        progress.Clear();
        EXPECT_FALSE(progress.Shown());
        progress.Clear(); // nothing more to erase
        wall.now += milliseconds(200);
        Calls(progress, 90000);
    } // the destructor erases the last drawing
    EXPECT_EQ(simrun::ReadStream(err), "\r\033[Kkipo-sim: 3d 04:05:06 simulated"
                                       "\r\033[Kkipo-sim: 1:00:00 simulated"
                                       "\r\033[K"
                                       "\r\033[Kkipo-sim: 1:30 simulated"
                                       "\r\033[K");
    std::fclose(err);
}

TEST(Progress, NothingWhenTheRunEndsBeforeTheDelay) {
    FakeWall wall;
    std::FILE* err = std::tmpfile();
    {
        Progress progress(err, milliseconds(1000), wall.Clock());
        for (int i = 0; i < 10; ++i) {
            wall.now += milliseconds(90);
            Calls(progress, 1000u * static_cast<unsigned>(i));
        }
    }
    EXPECT_EQ(simrun::ReadStream(err), "");
    std::fclose(err);
}

} // namespace
