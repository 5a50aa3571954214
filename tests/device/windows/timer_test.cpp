// Timers on the virtual clock: order, period, restart, KillTimer, the period limits, timer
// procedures, and WM_TIMER's low priority.
#include <gtest/gtest.h>

#include "platform/sim/message_loop.h"
#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

class TimerTest : public DeviceTest {
  protected:
    TimerTest() {
        MessageLog::RegisterClassFor(TEXT("Timed"));
        window = CreateWindowExW(0, TEXT("Timed"), TEXT("t"), 0, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
        log.Clear(); // the creation messages are not what these tests look at
        log.handler = [this](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_TIMER)
                fired.push_back({device.Now(), static_cast<UINT_PTR>(wParam)});
            return std::nullopt;
        };
    }
    // Runs the message loop until the clock reaches `end`.
    void RunUntil(std::uint64_t end) {
        device.scheduler.At(
            end, [] {}, "end");
        sim::RunMessageLoop();
    }
    struct Fired {
        std::uint64_t time;
        UINT_PTR id;
        bool operator==(const Fired&) const = default;
    };
    MessageLog log;
    HWND window = nullptr;
    std::vector<Fired> fired;
};

TEST_F(TimerTest, TimersFireAtTheirPeriodsInTimeOrder) {
    SetTimer(window, 1, 300, nullptr);
    SetTimer(window, 2, 200, nullptr);
    RunUntil(700);
    const std::vector<Fired> expected = {{200, 2}, {300, 1}, {400, 2}, {600, 1}, {600, 2}};
    EXPECT_EQ(fired, expected);
    EXPECT_EQ(device.Now(), 700u);
}

TEST_F(TimerTest, SettingAgainRestartsAndKillStops) {
    SetTimer(window, 1, 100, nullptr);
    device.scheduler.At(
        250, [&] { SetTimer(window, 1, 100, nullptr); }, "restart");
    device.scheduler.At(
        480, [&] { EXPECT_TRUE(KillTimer(window, 1)); }, "kill");
    RunUntil(1000);
    const std::vector<Fired> expected = {{100, 1}, {200, 1}, {350, 1}, {450, 1}};
    EXPECT_EQ(fired, expected);
    EXPECT_FALSE(KillTimer(window, 1)) << "a timer is killed once";
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x5555), 1, 10, nullptr), 0u);
}

TEST_F(TimerTest, PeriodsOutsideTheLimitsAreClamped) {
    struct Case {
        int line;
        UINT asked;
        UINT period;
    };
    const Case cases[] = {
        {__LINE__, 0, USER_TIMER_MINIMUM},
        {__LINE__, 1, USER_TIMER_MINIMUM},
        {__LINE__, 9, USER_TIMER_MINIMUM},
        {__LINE__, 10, 10},
        {__LINE__, 1500, 1500},
        {__LINE__, 0x7FFFFFFF, USER_TIMER_MAXIMUM},
        {__LINE__, 0x80000000u, USER_TIMER_MAXIMUM},
        {__LINE__, 0xFFFFFFFFu, USER_TIMER_MAXIMUM},
    };
    for (const Case& c : cases) {
        EXPECT_NE(SetTimer(window, 7, c.asked, nullptr), 0u) << "case at line " << c.line;
        const sim::Timer* timer = device.windows.timers.Find(window, 7);
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->period, c.period) << "case at line " << c.line;
    }
}

TEST_F(TimerTest, ZeroPeriodTicksEveryTenMillisecondsWithoutSpinning) {
    SetTimer(window, 1, 0, nullptr);
    RunUntil(55);
    const std::vector<Fired> expected = {{10, 1}, {20, 1}, {30, 1}, {40, 1}, {50, 1}};
    EXPECT_EQ(fired, expected);
}

TEST_F(TimerTest, MissedExpiriesAreNotStacked) {
    SetTimer(window, 1, 100, nullptr);
    // The program is busy (asleep) for 350 ms: one WM_TIMER follows, on the old cadence.
    device.scheduler.At(
        50, [] { Sleep(350); }, "busy");
    RunUntil(520);
    const std::vector<Fired> expected = {{400, 1}, {500, 1}};
    EXPECT_EQ(fired, expected);
}

TEST_F(TimerTest, PostedMessagesComeBeforeADueTimer) {
    SetTimer(window, 1, 10, nullptr);
    device.scheduler.At(5, [&] {
        Sleep(10); // the timer falls due meanwhile
        PostMessageW(window, WM_USER + 1, 0, 0);
        PostMessageW(window, WM_USER + 2, 0, 0);
    });
    RunUntil(16);
    EXPECT_EQ(log.Messages(window), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_TIMER}));
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0].time, 15u);
    EXPECT_EQ(device.windows.timers.Find(window, 1)->due, 20u) << "the cadence is kept";
}

int g_procCalls = 0;
UINT_PTR g_procId = 0;
void CALLBACK CountingProc(HWND, UINT message, UINT_PTR id, DWORD) {
    if (message == WM_TIMER) {
        ++g_procCalls;
        g_procId = id;
    }
}

TEST_F(TimerTest, TimerProcIsCalledByDispatchAndThreadTimersGetAnId) {
    g_procCalls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 100, CountingProc);
    EXPECT_NE(id, 0u);
    const UINT_PTR other = SetTimer(nullptr, 0, 100, CountingProc);
    EXPECT_NE(other, id) << "each new thread timer gets its own identifier";
    EXPECT_TRUE(KillTimer(nullptr, other));
    RunUntil(350);
    EXPECT_EQ(g_procCalls, 3);
    EXPECT_EQ(g_procId, id);
    EXPECT_TRUE(fired.empty());

    // A WM_TIMER whose lParam is no timer's procedure calls nothing.
    MSG forged{window, WM_TIMER, 5, reinterpret_cast<LPARAM>(&CountingProc) + 1, 0, {}};
    g_procCalls = 0;
    DispatchMessageW(&forged);
    EXPECT_EQ(g_procCalls, 0);
}

TEST_F(TimerTest, DestroyingTheWindowEndsItsTimers) {
    SetTimer(window, 1, 100, nullptr);
    DestroyWindow(window);
    EXPECT_EQ(device.windows.timers.Find(window, 1), nullptr);
    RunUntil(300);
    EXPECT_TRUE(fired.empty());
}

TEST_F(TimerTest, AnotherProcessCannotSetTimersOnTheProgramsWindow) {
    int process = device.CreateProcess(TEXT("\\x.exe"));
    sim::Device::ProcessScope scope(device, process);
    SetLastError(0);
    EXPECT_EQ(SetTimer(window, 1, 100, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(TimerTest, TickCountFollowsTheVirtualClock) {
    EXPECT_EQ(GetTickCount(), 0u);
    Sleep(1234);
    EXPECT_EQ(GetTickCount(), 1234u);
    device.SetNow(0x100000005ull);
    EXPECT_EQ(GetTickCount(), 5u) << "wraps at 2^32 like the real counter";
}

} // namespace
