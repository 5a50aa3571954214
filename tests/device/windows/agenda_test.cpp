// The agenda: when items run, in which order, what the clock does, and how the run ends.
#include <gtest/gtest.h>

#include "platform/sim/message_loop.h"
#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

class AgendaTest : public DeviceTest {
  protected:
    AgendaTest() {
        MessageLog::RegisterClassFor(TEXT("Agenda"));
        window = CreateWindowExW(0, TEXT("Agenda"), TEXT("a"), 0, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
        log.Clear(); // the creation messages are not what these tests look at
    }
    void Note(const std::string& what) {
        events.push_back(std::to_string(device.Now()) + " " + what);
    }
    MessageLog log;
    HWND window = nullptr;
    std::vector<std::string> events;
};

TEST_F(AgendaTest, ItemsRunInTimeOrderThenInTheOrderAdded) {
    device.scheduler.At(300, [&] { Note("c"); });
    device.scheduler.At(100, [&] { Note("a"); });
    device.scheduler.At(100, [&] { Note("b"); });
    device.scheduler.At(0, [&] { Note("first"); });
    EXPECT_EQ(sim::RunMessageLoop(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"0 first", "100 a", "100 b", "300 c"}));
    EXPECT_TRUE(device.scheduler.RunEnded());
    EXPECT_EQ(device.Now(), 300u) << "the run ends when the last item has run";
}

TEST_F(AgendaTest, AnItemRunsOnlyAfterEverythingThePreviousOneCausedIsProcessed) {
    log.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            Note("handled " + std::to_string(wParam));
            if (wParam < 3) // each message causes the next one
                PostMessageW(window, WM_USER, wParam + 1, 0);
        }
        return std::nullopt;
    };
    device.scheduler.At(50, [&] {
        Note("post");
        PostMessageW(window, WM_USER, 1, 0);
    });
    device.scheduler.At(50, [&] { Note("next item"); });
    sim::RunMessageLoop();
    EXPECT_EQ(events, (std::vector<std::string>{"50 post", "50 handled 1", "50 handled 2",
                                                "50 handled 3", "50 next item"}));
}

TEST_F(AgendaTest, OtherProgramsFinishWhatAnItemCausedBeforeTheNextItem) {
    HWND other = device.OpenWindow(TEXT("Other"));
    bool goneBeforeNext = false;
    device.scheduler.At(20, [&] { PostMessageW(other, WM_CLOSE, 0, 0); });
    device.scheduler.At(20, [&] { goneBeforeNext = !IsWindow(other); });
    sim::RunMessageLoop();
    EXPECT_TRUE(goneBeforeNext);
}

TEST_F(AgendaTest, AtNextWaitRunsAtTheCurrentInstant) {
    Sleep(40);
    device.scheduler.AtNextWait([&] { Note("now"); });
    device.scheduler.After(10, [&] { Note("later"); });
    sim::RunMessageLoop();
    EXPECT_EQ(events, (std::vector<std::string>{"40 now", "50 later"}));
}

TEST_F(AgendaTest, ItemsInThePastAreDueAtOnce) {
    Sleep(500);
    device.scheduler.At(100, [&] { Note("late"); });
    sim::RunMessageLoop();
    EXPECT_EQ(events, (std::vector<std::string>{"500 late"}));
}

TEST_F(AgendaTest, SleepRunsTheAgendaButNotTheProgramsMessages) {
    PostMessageW(window, WM_USER, 0, 0);
    device.scheduler.At(100, [&] { Note("during sleep"); });
    device.scheduler.At(500, [&] { Note("at the end of the sleep"); });
    device.scheduler.At(600, [&] { Note("after"); });
    Sleep(500);
    Note("woke");
    EXPECT_TRUE(log.entries.empty()) << "a sleeping program dispatches nothing";
    // The program's own instant comes first: the item due at the end runs at its next wait.
    EXPECT_EQ(events, (std::vector<std::string>{"100 during sleep", "500 woke"}));
    sim::RunMessageLoop();
    EXPECT_EQ(log.Messages(window), (std::vector<UINT>{WM_USER}));
    EXPECT_EQ(events.back(), "600 after");
}

TEST_F(AgendaTest, EndlessSleepEndsWithTheAgenda) {
    device.scheduler.At(70, [&] { Note("x"); });
    Sleep(INFINITE);
    EXPECT_EQ(device.Now(), 70u);
    EXPECT_EQ(events, (std::vector<std::string>{"70 x"}));
}

TEST_F(AgendaTest, WaitMessageReturnsOnceThereIsSomething) {
    device.scheduler.At(30, [&] { PostMessageW(window, WM_USER, 0, 0); });
    device.scheduler.At(90, [&] { Note("not yet"); });
    EXPECT_TRUE(WaitMessage());
    EXPECT_EQ(device.Now(), 30u);
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_TRUE(events.empty());
}

TEST_F(AgendaTest, TheRunEndsWithWmQuitWhenTheAgendaIsEmpty) {
    SetTimer(window, 1, 1000, nullptr); // timers alone do not keep the run going
    MSG msg{};
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(device.Now(), 0u);
    EXPECT_TRUE(device.scheduler.RunEnded());
}

TEST_F(AgendaTest, LoopUntilStopsWhenAnItemSetsTheFlag) {
    bool done = false;
    device.scheduler.At(200, [&] { done = true; });
    device.scheduler.At(900, [&] { Note("left for the outer loop"); });
    EXPECT_TRUE(sim::RunMessageLoopUntil([&] { return done; }));
    EXPECT_EQ(device.Now(), 200u);
    EXPECT_EQ(device.scheduler.Pending(), 1u);
}

TEST_F(AgendaTest, ListenerSeesEachItemWithItsLabel) {
    std::vector<std::string> seen;
    device.scheduler.SetItemListener([&](const sim::Scheduler::Item& item) {
        seen.push_back(std::to_string(item.time) + ":" + item.label);
    });
    device.scheduler.At(
        5, [] {}, "open");
    device.scheduler.At(
        9, [] {}, "close");
    sim::RunMessageLoop();
    EXPECT_EQ(seen, (std::vector<std::string>{"5:open", "9:close"}));
}

} // namespace
