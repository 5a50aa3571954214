// Programs side by side: each started program runs on a thread of its own, one at a time,
// switching only where a thread waits (a message, Sleep, a reply to a send to another thread's
// window), in an order fixed by virtual time and creation order.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/message_loop.h"
#include "tests/support/device_test.h"

namespace {

using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

LRESULT CALLBACK HandlerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handler = reinterpret_cast<Handler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (handler != nullptr && *handler)
        return (*handler)(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window of the current process whose messages go to `handler`.
HWND HandlerWindow(Handler* handler) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HandlerProc;
    wc.lpszClassName = TEXT("ThreadsTest");
    RegisterClassW(&wc); // once per process; a second registration fails harmlessly
    HWND window = CreateWindowExW(0, TEXT("ThreadsTest"), TEXT("t"), WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handler));
    return window;
}

class ThreadsTest : public DeviceTest {
  protected:
    ThreadsTest() { device.threads.SetHostProcess(0); }
    void Note(const std::string& what) {
        events.push_back(std::to_string(device.Now()) + " " + what);
    }
    int Process(const char* name) {
        return device.CreateProcess(FromUtf8(std::string("\\") + name + ".exe"));
    }
    std::vector<std::string> events;
};

TEST_F(ThreadsTest, AProgramStartedWhileAnotherSleepsDoesNotFreezeIt) {
    const int first = Process("first");
    const int second = Process("second");
    Handler ticks;
    device.StartThread(first, [&] {
        int count = 0;
        ticks = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == WM_TIMER) {
                Note("first ticks");
                if (++count == 5) {
                    KillTimer(window, 1);
                    PostQuitMessage(0);
                }
            }
            return 0;
        };
        HWND window = HandlerWindow(&ticks);
        SetTimer(window, 1, 100, nullptr);
        sim::RunMessageLoop();
        DestroyWindow(window);
    });
    device.scheduler.At(150, [&] {
        device.StartThread(second, [&] {
            Note("second starts");
            Sleep(300);
            Note("second wakes");
        });
    });
    device.scheduler.At(1000, [] {}); // the run goes on until then
    device.RunUntilIdle();
    EXPECT_EQ(events,
              (std::vector<std::string>{"100 first ticks", "150 second starts", "200 first ticks",
                                        "300 first ticks", "400 first ticks", "450 second wakes",
                                        "500 first ticks"}));
    EXPECT_FALSE(device.threads.AnyProgramAlive());
}

TEST_F(ThreadsTest, ThreadsWokenAtOneInstantRunInCreationOrder) {
    for (const char* name : {"a", "b", "c"}) {
        device.StartThread(Process(name), [this, name] {
            for (int round = 0; round < 2; ++round) {
                Sleep(100);
                Note(name);
            }
        });
    }
    device.RunUntilIdle();
    EXPECT_EQ(events,
              (std::vector<std::string>{"100 a", "100 b", "100 c", "200 a", "200 b", "200 c"}));
}

TEST_F(ThreadsTest, ASendToAnotherProgramWaitsUntilItTakesMessagesAndRunsOnItsThread) {
    const int owner = Process("owner");
    const int sender = Process("sender");
    std::thread::id ownerThread;
    HWND ownerWindow = nullptr;
    Handler ownerHandler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message != WM_USER)
            return 0;
        Note("owner handles " + std::to_string(wParam));
        EXPECT_EQ(std::this_thread::get_id(), ownerThread);
        EXPECT_EQ(device.CurrentProcess(), owner);
        return 40 + static_cast<LRESULT>(wParam);
    };
    device.StartThread(owner, [&] {
        ownerThread = std::this_thread::get_id();
        ownerWindow = HandlerWindow(&ownerHandler);
        Sleep(500); // a sleeping thread takes no sent message
        Note("owner waits for messages");
        sim::RunMessageLoop();
        DestroyWindow(ownerWindow);
    });
    device.scheduler.At(100, [&] {
        device.StartThread(sender, [&] {
            Note("sender sends");
            const LRESULT result = SendMessageW(ownerWindow, WM_USER, 2, 0);
            Note("sender has " + std::to_string(result));
        });
    });
    device.RunUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"100 sender sends", "500 owner waits for messages",
                                                "500 owner handles 2", "500 sender has 42"}));
}

TEST_F(ThreadsTest, AThreadWaitingForAReplyTakesWhatIsSentToItAndAnEndingThreadAnswersZero) {
    const int first = Process("first");
    const int second = Process("second");
    HWND firstWindow = nullptr;
    HWND secondWindow = nullptr;
    Handler firstHandler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_USER + 1)
            Note("first answers the call back");
        return message == WM_USER + 1 ? 7 : 0;
    };
    Handler secondHandler = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message != WM_USER)
            return 0;
        // Sends back to the thread that waits for this very reply.
        return 10 * SendMessageW(firstWindow, WM_USER + 1, 0, 0);
    };
    device.StartThread(first, [&] {
        firstWindow = HandlerWindow(&firstHandler);
        Sleep(10); // the second program makes its window
        Note("first has " + std::to_string(SendMessageW(secondWindow, WM_USER, 0, 0)));
        // Then one send to a thread that sleeps until it ends, without taking it.
        Sleep(100);
        Note("first has " + std::to_string(SendMessageW(secondWindow, WM_USER, 0, 0)));
        DestroyWindow(firstWindow);
    });
    device.StartThread(second, [&] {
        secondWindow = HandlerWindow(&secondHandler);
        MSG msg;
        GetMessageW(&msg, nullptr, 0, 0); // takes the first send while it waits
        SetLastError(ERROR_GEN_FAILURE);
        Sleep(1000);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
        Note("second ends");
    });
    device.scheduler.At(20, [&] { PostMessageW(secondWindow, WM_NULL, 0, 0); });
    device.RunUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"10 first answers the call back", "10 first has 70",
                                                "1020 second ends", "1020 first has 0"}));
}

TEST_F(ThreadsTest, WhenTheAgendaRunsOutEveryThreadWaitingForAMessageGetsQuit) {
    int exits[2] = {-1, -1};
    for (int i = 0; i < 2; ++i) {
        device.StartThread(Process(i == 0 ? "a" : "b"), [&, i] {
            if (i == 1)
                Sleep(300); // the second is asleep when the agenda runs out
            exits[i] = sim::RunMessageLoop();
            Note(i == 0 ? "a quits" : "b quits");
        });
    }
    device.scheduler.At(100, [&] { Note("last item"); });
    device.RunUntilIdle();
    EXPECT_EQ(events, (std::vector<std::string>{"100 last item", "100 a quits", "300 b quits"}));
    EXPECT_EQ(exits[0], 0);
    EXPECT_EQ(exits[1], 0);
    EXPECT_TRUE(device.scheduler.RunEnded());
}

} // namespace
