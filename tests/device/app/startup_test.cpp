// Start-up as the user meets it: the Up-key abort, the command-line interval, the icon that
// fits the screen, the hidden windows, and the end by Exit.
#include <gtest/gtest.h>

#include "framework/ce_command_bar.h"
#include "framework/wnd_class.h"
#include "tests/device/app/kipo_run.h"

namespace {

using StartupTest = KipoRunTest;

TEST_F(StartupTest, UpKeyHeldAtHalfASecondCancelsEverything) {
    At(400, [this] { device.PressKey(VK_UP); });
    At(600, [this] { device.ReleaseKey(VK_UP); });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(device.trace.Count("GetAsyncKeyState"), 1u);
    EXPECT_EQ(device.trace.Count("CreateWindowExW"), 0u) << "no window";
    EXPECT_EQ(device.trace.Count("Shell_NotifyIcon"), 0u) << "no icon";
    EXPECT_EQ(device.trace.Count("SetTimer"), 0u) << "no timer";
    EXPECT_EQ(device.trace.Count("RegCreateKeyExW"), 0u);
    EXPECT_FALSE(ProgramKeyExists()) << "no registry key";
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

TEST_F(StartupTest, UpKeyReleasedBeforeHalfASecondDoesNotCancel) {
    At(100, [this] { device.PressKey(VK_UP); });
    At(300, [this] { device.ReleaseKey(VK_UP); });
    bool iconSeen = false;
    At(1000, [&] { iconSeen = device.IconShown(); });
    ChooseFromIcon(1000, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(iconSeen);
    EXPECT_TRUE(ProgramKeyExists()) << "the settings were read through the key";
}

TEST_F(StartupTest, SettingsLiveUnderTheExecutablesName) {
    device.SetProgramPath(TEXT("\\Storage Card\\Tools\\Switch.Me.exe"));
    WString caption;
    At(1000, [&] {
        // The message box caption is the application's name too.
        caption = AfxGetApp()->m_pszAppName;
    });
    ChooseFromIcon(1000, TEXT("Exit"));
    Run();
    EXPECT_EQ(caption, WString(TEXT("Switch.Me")));
    EXPECT_TRUE(
        device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Switch.Me\\Settings")));
    EXPECT_FALSE(device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo")));
    EXPECT_EQ(device.trace.Count("GetModuleFileNameW"), 1u) << "the path is read once";
}

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        return FALSE;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The framework's own procedure, but child windows are refused: the command bar, which
// shares the frame's class, cannot be created.
LRESULT CALLBACK RefuseChildren(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE &&
        (reinterpret_cast<const CREATESTRUCTW*>(lParam)->style & WS_CHILD) != 0)
        return FALSE;
    return CWnd::WindowProcTrampoline(window, message, wParam, lParam);
}

// The frame, or a window inside it, cannot be created: start-up ends with nothing left.
class StartupFailureTest : public KipoRunTest {
  protected:
    // A class of that name, registered before the program's own, refuses windows.
    void Refuse(const WString& className, WNDPROC proc = &RefuseCreation) {
        sim::Device::ProcessScope scope(device, sim::kProgramProcess);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className.c_str();
        ASSERT_NE(RegisterClassW(&wc), 0);
    }

    void ExpectCleanEnd(unsigned windowsTried) {
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(device.trace.Count("CreateWindowExW"), windowsTried);
        EXPECT_EQ(device.trace.Count("ShowWindow"), 0u) << "nothing to hide";
        EXPECT_EQ(device.trace.Count("GetMessageW"), 0u) << "no message loop";
        EXPECT_EQ(device.trace.Count("SetTimer"), 0u);
        EXPECT_EQ(device.trace.Count("Shell_NotifyIcon"), 0u);
        EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    }
};

TEST_F(StartupFailureTest, FrameThatCannotBeCreated) {
    Refuse(AfxWndClassName(0));
    ExpectCleanEnd(1);
}

TEST_F(StartupFailureTest, ViewThatCannotBeCreatedTakesTheFrameAlong) {
    Refuse(AfxWndClassName(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                           nullptr));
    ExpectCleanEnd(2);
}

TEST_F(StartupFailureTest, CommandBarThatCannotBeCreatedTakesTheFrameAlong) {
    Refuse(AfxWndClassName(0), &RefuseChildren);
    ExpectCleanEnd(3);
}

TEST_F(StartupFailureTest, MenuBarThatCannotBeLoadedTakesTheFrameAlong) {
    device.faults.loadMenu = true;
    ExpectCleanEnd(3);
    EXPECT_EQ(device.trace.Count("LoadMenuW"), 1u);
}

struct IntervalCase {
    int line;
    const WCHAR* commandLine;
    LONG checkInterval; // the member as parsed
    UINT period;        // the timer's period
};

TEST_F(StartupTest, CommandLineSetsTheCheckInterval) {
    const IntervalCase cases[] = {
        {__LINE__, TEXT(""), 1500, 1500},
        {__LINE__, TEXT("   "), 1500, 1500},
        {__LINE__, TEXT("750"), 750, 750},
        {__LINE__, TEXT("  750  "), 750, 750},
        {__LINE__, TEXT("100ms"), 100, 100},
        // Values the timer cannot take keep the member but run at the default period: no
        // busy processor, no stopped switching.
        {__LINE__, TEXT("abc"), 0, 1500},
        {__LINE__, TEXT("-250"), -250, 1500},
    };
    for (const IntervalCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        sim::Device fresh; // each start on a device of its own
        LONG member = 12345;
        UINT period = 0;
        fresh.scheduler.At(1000, [&] {
            member = Frame()->CheckInterval;
            const sim::Timer* timer = fresh.windows.timers.Find(Frame()->m_hWnd, 1);
            period = timer != nullptr ? timer->period : 0;
        });
        fresh.scheduler.At(1000, [&] { fresh.TapIcon(); });
        fresh.scheduler.At(1000, [&] { fresh.ChooseMenuItem(TEXT("Exit")); });
        {
            sim::Device::ProcessScope scope(fresh, sim::kProgramProcess);
            KipoMain(nullptr, c.commandLine);
        }
        EXPECT_EQ(member, c.checkInterval);
        EXPECT_EQ(period, c.period);
    }
}

TEST_F(StartupTest, TimerWithANonPositiveIntervalStillSwitches) {
    // Ten seconds at the default period is six ticks; each reads the foreground window.
    At(500, [this] { device.trace.ClearRecords(); });
    std::uint64_t before = 0;
    At(1000, [&] { before = device.trace.Count("GetForegroundWindow"); });
    std::uint64_t after = 0;
    At(11000, [&] { after = device.trace.Count("GetForegroundWindow"); });
    ChooseFromIcon(11000, TEXT("Exit"));
    Run(TEXT("0"));
    EXPECT_GE(after - before, 6u);
    EXPECT_LE(after - before, 8u) << "not a busy loop";
}

struct ScreenCase {
    int line;
    int width, height;
    LONG barTop;
    WORD icon;
};

TEST_F(StartupTest, NotificationIconFitsTheScreen) {
    const ScreenCase cases[] = {
        {__LINE__, 240, 320, 294, 137},
        {__LINE__, 480, 640, 588, 133},
        // The boundary: a bar whose top edge is at line 320 is still on a small screen.
        {__LINE__, 240, 348, 320, 137},
        {__LINE__, 240, 349, 321, 133},
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        sim::Device fresh;
        fresh.SetScreenSize(c.width, c.height);
        WORD icon = 0;
        RECT bar = {};
        fresh.scheduler.At(1000, [&] {
            icon = fresh.IconResource();
            Frame()->CommandBar->GetWindowRect(&bar);
        });
        fresh.scheduler.At(1000, [&] { fresh.TapIcon(); });
        fresh.scheduler.At(1000, [&] { fresh.ChooseMenuItem(TEXT("Exit")); });
        {
            sim::Device::ProcessScope scope(fresh, sim::kProgramProcess);
            KipoMain(nullptr, TEXT(""));
        }
        EXPECT_EQ(bar.top, c.barTop);
        EXPECT_EQ(bar.bottom, c.height);
        EXPECT_EQ(icon, c.icon);
    }
}

TEST_F(StartupTest, FocusGivenToTheFrameGoesToItsView) {
    HWND view = nullptr, focus = nullptr;
    At(1000, [&] {
        CMainFrame* frame = Frame();
        view = frame->View->m_hWnd;
        SetFocus(frame->m_hWnd);
        focus = GetFocus();
    });
    ChooseFromIcon(1000, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(focus, view);
}

TEST_F(StartupTest, FrameAndItsPartsAreHiddenAndFilled) {
    bool frameVisible = true, viewVisible = true, barVisible = true;
    WString caption;
    DWORD barStyle = 0;
    UINT period = 0;
    NOTIFYICONDATA icon = {};
    At(1000, [&] {
        CMainFrame* frame = Frame();
        frameVisible = IsWindowVisible(frame->m_hWnd);
        viewVisible = IsWindowVisible(frame->View->m_hWnd);
        barVisible = IsWindowVisible(frame->CommandBar->m_hWnd);
        WCHAR text[32] = {};
        GetWindowTextW(frame->m_hWnd, text, 32);
        caption = text;
        barStyle = frame->CommandBar->GetBarStyle();
        period = CheckTimerPeriod();
        icon = frame->IconData;
        EXPECT_EQ(GetWindowLongW(frame->m_hWnd, GWL_STYLE) & 0xFFFF, 0x8000);
        EXPECT_EQ(GetWindowLongW(frame->View->m_hWnd, GWL_STYLE) & WS_BORDER, 0);
        EXPECT_EQ(GetDlgCtrlID(frame->View->m_hWnd), 0xE900);
        EXPECT_EQ(GetDlgCtrlID(frame->CommandBar->m_hWnd), 0xE800);
    });
    ChooseFromIcon(1000, TEXT("Exit"));
    Run();
    EXPECT_FALSE(frameVisible);
    EXPECT_FALSE(viewVisible);
    EXPECT_FALSE(barVisible);
    EXPECT_EQ(caption, WString(TEXT("Kipo")));
    EXPECT_EQ(barStyle,
              CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_FIXED);
    EXPECT_EQ(period, 1500u);
    EXPECT_EQ(icon.cbSize, sizeof(NOTIFYICONDATA));
    EXPECT_EQ(icon.uID, 1u);
    EXPECT_EQ(icon.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(icon.uCallbackMessage, 0x0402u);
    EXPECT_EQ(device.shell.extraControlsInits, 1);
}

TEST_F(StartupTest, SecondStartBringsTheFirstForwardAndAddsNothing) {
    const int second = device.CreateProcess(device.ProcessById(sim::kProgramProcess).exePath);
    int secondResult = -1;
    HWND frontAfter = nullptr;
    HWND firstFrame = nullptr;
    At(2000, [&] {
        firstFrame = Frame()->m_hWnd;
        sim::Device::ProcessScope scope(device, second);
        secondResult = KipoMain(nullptr, TEXT(""));
        frontAfter = GetForegroundWindow();
    });
    std::size_t icons = 0;
    At(2500, [&] { icons = device.shell.Icons().size(); });
    ChooseFromIcon(3000, TEXT("Exit"));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(secondResult, 0);
    EXPECT_EQ(frontAfter, firstFrame);
    EXPECT_EQ(icons, 1u);
    EXPECT_EQ(device.trace.Count("SHInitExtraControls"), 1u) << "the second start stops first";
}

// Both instances run side by side on threads of their own; the test's thread is the outside
// world. `secondAt` is when the second start comes.
class TwoStartsTest : public KipoRunTest {
  protected:
    TwoStartsTest() {
        device.threads.SetHostProcess(0);
        device.trace.Enable(true);
        second = device.CreateProcess(device.ProcessById(sim::kProgramProcess).exePath);
    }

    void RunBoth(std::uint64_t secondAt) {
        StartOnThread(sim::kProgramProcess, &firstExit);
        At(secondAt, [this] { StartOnThread(second, &secondExit); });
        ChooseFromIcon(5000, TEXT("Exit"));
        device.RunUntilIdle();
    }

    // Times of the calls of `name` by `process`.
    std::vector<std::uint64_t> Times(const char* name, int process) const {
        std::vector<std::uint64_t> times;
        for (const sim::TraceCall& call : device.trace.Records())
            if (call.name == name && call.process == process)
                times.push_back(call.time);
        return times;
    }

    int second = 0;
    int firstExit = -1;
    int secondExit = -1;
};

TEST_F(TwoStartsTest, ASecondStartInTheFirstsPauseFindsItsFrameAtTheNextLookAndAddsNothing) {
    RunBoth(100);
    const int first = sim::kProgramProcess;
    // The first instance is not held up: its icon at the end of its pause, its ticks on time.
    EXPECT_EQ(Times("Shell_NotifyIcon", first), (std::vector<std::uint64_t>{500, 5000}));
    const std::vector<std::uint64_t> ticks = Times("GetForegroundWindow", first);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.front(), 2000u) << "the first tick, 1500 ms after the timer started";
    // The second finds the mutex taken and no frame yet, looks again a second later, finds it.
    EXPECT_EQ(Times("CreateMutexW", second), (std::vector<std::uint64_t>{100}));
    EXPECT_EQ(Times("FindWindowW", second), (std::vector<std::uint64_t>{100, 1100}));
    EXPECT_EQ(Times("SetForegroundWindow", second), (std::vector<std::uint64_t>{1100}));
    EXPECT_TRUE(Times("SHInitExtraControls", second).empty()) << "no start-up of its own";
    EXPECT_TRUE(Times("Shell_NotifyIcon", second).empty());
    EXPECT_TRUE(Times("SetTimer", second).empty());
    EXPECT_TRUE(Times("CreateWindowExW", second).empty());
    EXPECT_EQ(secondExit, 0);
    EXPECT_EQ(firstExit, 0);
    EXPECT_EQ(device.OpenHandles(second, sim::HandleKind::Mutex), 0);
    EXPECT_EQ(device.OpenHandles(first, sim::HandleKind::Mutex), 0);
}

TEST_F(TwoStartsTest, ASecondStartOnceTheFrameExistsBringsItForwardAtOnce) {
    int frontProcess = 0;
    WString frontCaption;
    At(2100, [&] {
        const sim::Window* front = device.windows.Get(device.windows.Foreground());
        ASSERT_NE(front, nullptr);
        frontProcess = front->process;
        frontCaption = front->caption;
    });
    RunBoth(2000);
    EXPECT_EQ(Times("FindWindowW", second), (std::vector<std::uint64_t>{2000}));
    EXPECT_TRUE(Times("Sleep", second).empty()) << "found at the first look";
    EXPECT_EQ(Times("SetForegroundWindow", second), (std::vector<std::uint64_t>{2000}));
    EXPECT_EQ(frontProcess, sim::kProgramProcess) << "the first instance's frame";
    EXPECT_EQ(frontCaption, WString(TEXT("Kipo")));
    EXPECT_EQ(Times("Shell_NotifyIcon", sim::kProgramProcess).size(), 2u) << "added, deleted";
    EXPECT_EQ(secondExit, 0);
}

TEST_F(TwoStartsTest, AStartWithNoInstanceRunningDoesNotWait) {
    RunBoth(6000); // the first has ended by Exit at 5000
    EXPECT_EQ(Times("FindWindowW", second).size(), 0u) << "nothing to look for";
    EXPECT_EQ(Times("CreateMutexW", second), (std::vector<std::uint64_t>{6000}));
    EXPECT_EQ(Times("SHInitExtraControls", second), (std::vector<std::uint64_t>{6000}));
    const std::vector<std::uint64_t> icon = Times("Shell_NotifyIcon", second);
    ASSERT_FALSE(icon.empty());
    EXPECT_EQ(icon.front(), 6500u) << "its own icon after its own pause";
    EXPECT_EQ(secondExit, 0) << "ended with the run";
}

} // namespace
