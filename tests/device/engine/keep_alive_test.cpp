// The tick's keep-alive: with KeepPDAOn, ticks that begin with a radio known on count up, and
// every 22nd of them resets the idle timer, which keeps the simulated device from the sleep
// it would otherwise have fallen into.
#include "tests/device/engine/tick_fixture.h"

namespace {

using KeepAliveTest = TickTest;

// The ticks (1-based) at which SystemIdleTimerReset was called, over `ticks` ticks 1.5 s apart.
std::vector<int> ResetTicks(TickRig& rig, int ticks) {
    std::vector<int> at;
    for (int i = 1; i <= ticks; ++i) {
        const std::uint64_t before = rig.device.trace.Count("SystemIdleTimerReset");
        rig.device.SetNow(static_cast<std::uint64_t>(i) * 1500);
        rig.Tick();
        if (rig.device.trace.Count("SystemIdleTimerReset") != before)
            at.push_back(i);
    }
    return at;
}

struct KeepCase {
    int line;
    int keep;
    LONG btState;
    LONG wifiState;
    std::vector<int> resets;
};

TEST(KeepAliveTableTest, ResetsOnTheTwentySecondQualifyingTickAndEveryTwentySecondAfter) {
    const std::vector<int> every22 = {22, 44, 66};
    const KeepCase cases[] = {
        {__LINE__, 1, -1, 1, every22}, {__LINE__, 1, 1, -1, every22}, {__LINE__, 1, 1, 1, every22},
        {__LINE__, 5, 1, 0, every22},  {__LINE__, 1, 0, 0, {}},       {__LINE__, 1, -1, -1, {}},
        {__LINE__, 1, 0, -1, {}},      {__LINE__, 0, 1, 1, {}},
    };
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        TickRig rig;
        rig.device.OpenWindow(TEXT("Anything"));
        rig.frame.KeepPDAOn = c.keep;
        rig.frame.BtState = c.btState;
        rig.frame.WifiState = c.wifiState;
        EXPECT_EQ(ResetTicks(rig, 70), c.resets);
        // The counter only moves on qualifying ticks: 70 of them leave 70 - 66 = 4.
        EXPECT_EQ(rig.frame.KeepAliveCounter, c.resets.empty() ? 0 : 4);
    }
}

TEST_F(KeepAliveTest, NonQualifyingTicksLeaveTheCounterWhereItWas) {
    device.OpenWindow(TEXT("Anything"));
    frame.KeepPDAOn = 1;
    frame.KeepAliveCounter = 17;
    frame.BtState = 0;
    for (int i = 0; i < 30; ++i)
        Tick();
    EXPECT_EQ(frame.KeepAliveCounter, 17);
    EXPECT_EQ(device.trace.Count("SystemIdleTimerReset"), 0u);
    // Qualifying again, it carries on from 17: the fifth tick (counter 21) resets.
    frame.WifiState = 1;
    EXPECT_EQ(ResetTicks(*this, 6), std::vector<int>({5}));
    EXPECT_EQ(frame.KeepAliveCounter, 1);
}

// The condition uses the states earlier ticks left: the tick that first turns a radio on
// does not count, the next one does.
TEST_F(KeepAliveTest, TheTickThatTurnsARadioOnDoesNotCountItself) {
    device.OpenWindow(TEXT("Browser"));
    frame.KeepPDAOn = 1;
    frame.WifiOnActiveList = {TEXT("browser")};
    Tick();
    EXPECT_EQ(frame.WifiState, 1);
    EXPECT_EQ(frame.KeepAliveCounter, 0);
    Tick();
    EXPECT_EQ(frame.KeepAliveCounter, 1);
}

TEST_F(KeepAliveTest, ResetsHoldTheDeviceAwakePastItsIdleTimeout) {
    device.OpenWindow(TEXT("Browser"));
    frame.KeepPDAOn = 1;
    frame.WifiOnActiveList = {TEXT("browser")};
    ResetTicks(*this, 400); // ten minutes of 1.5 s ticks
    EXPECT_EQ(device.handheld.idle.Resets(), 18);
    EXPECT_TRUE(device.handheld.idle.HeldAwakeByResets(device.Now()));
    EXPECT_TRUE(device.handheld.idle.Lapses(device.Now()).empty());
}

TEST_F(KeepAliveTest, WithoutKeepPdaOnTheDeviceWouldHaveSuspended) {
    device.OpenWindow(TEXT("Browser"));
    frame.WifiOnActiveList = {TEXT("browser")};
    ResetTicks(*this, 400);
    EXPECT_EQ(device.handheld.idle.Resets(), 0);
    const std::vector<std::uint64_t> lapses = {model::IdleTimer::kTimeoutMs};
    EXPECT_EQ(device.handheld.idle.Lapses(device.Now()), lapses);
}

} // namespace
