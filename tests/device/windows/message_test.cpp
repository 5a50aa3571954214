// Sending, posting and retrieving: SendMessageW across processes, filters, PeekMessageW, the
// quit request and its unwinding of nested loops.
#include <gtest/gtest.h>

#include "platform/sim/message_loop.h"
#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

class MessageTest : public DeviceTest {
  protected:
    MessageTest() {
        MessageLog::RegisterClassFor(TEXT("Msg"));
        window = Make(TEXT("main"));
        log.Clear(); // the creation messages are not what these tests look at
    }
    HWND Make(const WCHAR* caption, HWND parent = nullptr, DWORD style = 0) {
        return CreateWindowExW(0, TEXT("Msg"), caption, style, 0, 0, 1, 1, parent, nullptr, nullptr,
                               nullptr);
    }
    MessageLog log;
    HWND window = nullptr;
};

TEST_F(MessageTest, SendToAnotherProcessRunsItsProcedureAsThatProcess) {
    const int console = device.CreateProcess(TEXT("\\Windows\\btconsole.exe"));
    HWND target = nullptr;
    {
        sim::Device::ProcessScope scope(device, console);
        MessageLog::RegisterClassFor(TEXT("Msg")); // classes are per process
        target = Make(TEXT("Bluetooth Console"));
    }
    ASSERT_NE(target, nullptr);
    int processInside = 0;
    std::uint64_t timeInside = 1;
    log.handler = [&](HWND w, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (w == target && message == WM_COMMAND) {
            processInside = device.CurrentProcess();
            timeInside = device.Now();
            return 42;
        }
        return std::nullopt;
    };
    Sleep(10);
    log.Clear();
    EXPECT_EQ(SendMessageW(FindWindowW(nullptr, TEXT("bluetooth console")), WM_COMMAND, 4098, 0),
              42);
    EXPECT_EQ(processInside, console);
    EXPECT_EQ(timeInside, 10u) << "synchronous: no time passes";
    EXPECT_EQ(device.CurrentProcess(), sim::kProgramProcess);
    EXPECT_SEQUENCE(log, {{WM_COMMAND, kBoth, 4098, 0}}, target);
    EXPECT_EQ(device.trace.Count("SendMessageW"), 1u);
}

TEST_F(MessageTest, SendToNoWindowDoesNothing) {
    SetLastError(0);
    EXPECT_EQ(SendMessageW(nullptr, WM_COMMAND, 4098, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MessageTest, PostedMessagesOfOtherProcessesAreDeliveredWhileTheProgramWaits) {
    HWND other = device.OpenWindow(TEXT("Other"));
    bool delivered = false;
    // The other program's plain window closes on WM_CLOSE: the program posts it and waits.
    PostMessageW(other, WM_CLOSE, 0, 0);
    device.scheduler.At(1, [&] { delivered = !IsWindow(other); });
    sim::RunMessageLoop();
    EXPECT_TRUE(delivered);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MessageTest, FiltersSelectByWindowAndRange) {
    HWND child = Make(TEXT("child"), window, WS_CHILD);
    HWND second = Make(TEXT("second"));
    PostMessageW(second, WM_USER + 1, 0, 0);
    PostMessageW(child, WM_USER + 2, 0, 0);
    PostMessageW(nullptr, WM_USER + 3, 0, 0);
    PostMessageW(window, WM_USER + 4, 0, 0);
    struct Case {
        int line;
        HWND filter;
        UINT first, last;
        UINT expected; // 0: nothing
    };
    const Case cases[] = {
        {__LINE__, window, 0, 0, WM_USER + 2}, // a window's filter takes its children too
        {__LINE__, reinterpret_cast<HWND>(-1), 0, 0, WM_USER + 3},
        {__LINE__, nullptr, WM_USER + 9, WM_USER + 4, 0}, // a reversed range takes nothing
        {__LINE__, nullptr, WM_USER + 4, WM_USER + 9, WM_USER + 4},
        {__LINE__, nullptr, 0, 0, WM_USER + 1},
        {__LINE__, second, 0, 0, 0},
    };
    for (const Case& c : cases) {
        MSG msg{};
        const BOOL found = PeekMessageW(&msg, c.filter, c.first, c.last, PM_REMOVE);
        EXPECT_EQ(found != FALSE, c.expected != 0) << "case at line " << c.line;
        if (found) {
            EXPECT_EQ(msg.message, c.expected) << "case at line " << c.line;
        }
    }
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, PeekWithoutRemoveLeavesTheMessage) {
    PostMessageW(window, WM_USER, 7, 0);
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, NoFilterHoldsTheQuitBack) {
    PostQuitMessage(4);
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, window, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(MessageTest, QuitComesAfterPostedMessagesAndCarriesTheExitCode) {
    PostQuitMessage(3);
    PostMessageW(window, WM_USER, 0, 0);
    MSG msg{};
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageTest, GetMessageForAWindowThatIsGoneFails) {
    HWND gone = Make(TEXT("gone"));
    DestroyWindow(gone);
    MSG msg{};
    EXPECT_EQ(GetMessageW(&msg, gone, 0, 0), -1);
    EXPECT_EQ(GetMessageW(nullptr, nullptr, 0, 0), -1);
}

TEST_F(MessageTest, QuitUnwindsTwoNestedLoops) {
    std::vector<std::string> events;
    bool innerDone = false;
    bool outerDone = false;
    bool innerResult = true;
    bool outerResult = true;
    log.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER && wParam == 1) { // opens the first modal loop
            events.push_back("outer begins");
            outerResult = sim::RunMessageLoopUntil([&] { return outerDone; });
            events.push_back("outer ends");
        } else if (message == WM_USER && wParam == 2) { // a second one inside it
            events.push_back("inner begins");
            innerResult = sim::RunMessageLoopUntil([&] { return innerDone; });
            events.push_back("inner ends");
        }
        return std::nullopt;
    };
    device.scheduler.At(10, [&] { PostMessageW(window, WM_USER, 1, 0); });
    device.scheduler.At(20, [&] { PostMessageW(window, WM_USER, 2, 0); });
    device.scheduler.At(30, [&] { PostQuitMessage(5); });
    device.scheduler.At(40, [&] { events.push_back("never: the run was over"); });
    const int code = sim::RunMessageLoop();
    EXPECT_EQ(code, 5);
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(outerResult);
    EXPECT_EQ(events, (std::vector<std::string>{"outer begins", "inner begins", "inner ends",
                                                "outer ends"}));
    EXPECT_EQ(device.Now(), 30u);
}

TEST_F(MessageTest, EmptyAgendaEndsNestedLoopsToo) {
    bool innerResult = true;
    log.handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER)
            innerResult = sim::RunMessageLoopUntil([] { return false; });
        return std::nullopt;
    };
    device.scheduler.At(10, [&] { PostMessageW(window, WM_USER, 0, 0); });
    EXPECT_EQ(sim::RunMessageLoop(), 0);
    EXPECT_FALSE(innerResult);
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit request is spent";
}

TEST_F(MessageTest, DestroyedWindowsLoseTheirPostedMessages) {
    HWND gone = Make(TEXT("gone"));
    PostMessageW(gone, WM_USER, 0, 0);
    DestroyWindow(gone);
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageW(gone, WM_USER, 0, 0));
}

TEST_F(MessageTest, TranslateTurnsCharacterKeysIntoWmChar) {
    MSG key{window, WM_KEYDOWN, 'A', 1, 0, {}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('a'));
    MSG arrow{window, WM_KEYDOWN, VK_UP, 1, 0, {}};
    EXPECT_TRUE(TranslateMessage(&arrow));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    MSG other{window, WM_USER, 0, 0, 0, {}};
    EXPECT_FALSE(TranslateMessage(&other));
}

} // namespace
