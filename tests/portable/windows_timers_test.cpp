// SetTimer and KillTimer as every host keeps them: a due timer is seen as WM_TIMER once the
// thread looks for messages, a period of 0 still fires, a killed timer stays quiet. Sleep lets
// the time pass: on the simulated device it moves the virtual clock, under Wine real time.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

class TimerWindow {
  public:
    TimerWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = TEXT("KipoPortableTimer");
        RegisterClassW(&wc);
        handle = CreateWindowExW(0, TEXT("KipoPortableTimer"), TEXT("Kipo Portable Timer"), 0, 0, 0,
                                 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~TimerWindow() { DestroyWindow(handle); }
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;
    HWND handle = nullptr;
};

// Takes the window's next WM_TIMER, if one is due.
bool TakeTimer(HWND window, UINT_PTR* id = nullptr) {
    MSG msg{};
    if (!PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE))
        return false;
    if (id != nullptr)
        *id = msg.wParam;
    return true;
}

TEST(WindowsTimers, DueTimerGivesWmTimerWithItsId) {
    FreshDevice device;
    TimerWindow window;
    ASSERT_NE(window.handle, nullptr);
    EXPECT_NE(SetTimer(window.handle, 7, 20, nullptr), 0u);
    EXPECT_FALSE(TakeTimer(window.handle)) << "not due yet";
    Sleep(80);
    UINT_PTR id = 0;
    EXPECT_TRUE(TakeTimer(window.handle, &id));
    EXPECT_EQ(id, 7u);
    EXPECT_FALSE(TakeTimer(window.handle)) << "missed periods are not stacked";
    EXPECT_TRUE(KillTimer(window.handle, 7));
}

TEST(WindowsTimers, KilledTimerStaysQuiet) {
    FreshDevice device;
    TimerWindow window;
    SetTimer(window.handle, 1, 20, nullptr);
    EXPECT_TRUE(KillTimer(window.handle, 1));
    Sleep(80);
    EXPECT_FALSE(TakeTimer(window.handle));
    EXPECT_FALSE(KillTimer(window.handle, 1)) << "a timer is killed once";
    EXPECT_FALSE(KillTimer(window.handle, 99));
}

TEST(WindowsTimers, ZeroPeriodStillFires) {
    FreshDevice device;
    TimerWindow window;
    EXPECT_NE(SetTimer(window.handle, 1, 0, nullptr), 0u);
    Sleep(60);
    EXPECT_TRUE(TakeTimer(window.handle));
    KillTimer(window.handle, 1);
}

int g_calls = 0;
void CALLBACK CountCalls(HWND, UINT, UINT_PTR, DWORD) {
    ++g_calls;
}

TEST(WindowsTimers, ThreadTimerCallsItsProcedureThroughDispatch) {
    FreshDevice device;
    g_calls = 0;
    const UINT_PTR id = SetTimer(nullptr, 0, 20, CountCalls);
    ASSERT_NE(id, 0u);
    Sleep(80);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, id);
    EXPECT_EQ(g_calls, 0);
    DispatchMessageW(&msg);
    EXPECT_EQ(g_calls, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
}

} // namespace
