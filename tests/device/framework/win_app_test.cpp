// AfxWinMain: the application is named and current only while it runs, InitInstance decides
// whether the loop runs, the loop ends at WM_QUIT, and a second instance gives way to the
// first.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/win_app.h"
#include "framework/wnd.h"
#include "framework/wnd_class.h"
#include "platform/sim/device.h"
#include "tests/support/device_test.h"

namespace {

// A main window that closes like a frame: WM_CLOSE destroys it, which ends the program.
class MainWnd : public CWnd {
  public:
    void OnClose() { DestroyWindow(); }
    void PostNcDestroy() override { ++postNcDestroys; }
    int postNcDestroys = 0;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(MainWnd, CWnd)
    on::Close<&MainWnd::OnClose>(),
END_MESSAGE_MAP();
// clang-format on

class TestApp : public CWinApp {
  public:
    explicit TestApp(bool succeed = true, LPCWSTR name = nullptr)
        : CWinApp(name), succeed_(succeed) {}
    BOOL InitInstance() override {
        ++initCalls;
        seenApp = AfxGetApp();
        seenName = m_pszAppName;
        seenCommandLine = m_lpCmdLine;
        if (!succeed_)
            return FALSE;
        if (!window.CreateEx(0, nullptr, TEXT("Main"), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
            return FALSE;
        m_pMainWnd = &window;
        return TRUE;
    }
    int ExitInstance() override {
        ++exitCalls;
        return CWinApp::ExitInstance() + 100;
    }
    MainWnd window;
    int initCalls = 0;
    int exitCalls = 0;
    CWinApp* seenApp = nullptr;
    WString seenName;
    WString seenCommandLine;

  private:
    bool succeed_;
};

class WinAppTest : public DeviceTest {
  protected:
    WinAppTest() { device.SetProgramPath(TEXT("\\Program Files\\Tools\\Switcher.exe")); }
};

TEST_F(WinAppTest, RunsUntilTheMainWindowCloses) {
    TestApp app;
    device.scheduler.At(5000, [&] { PostMessageW(app.window.m_hWnd, WM_CLOSE, 0, 0); });
    EXPECT_EQ(AfxWinMain(app, nullptr, TEXT(" 42 ")), 100);
    EXPECT_EQ(app.initCalls, 1);
    EXPECT_EQ(app.exitCalls, 1);
    EXPECT_EQ(app.seenApp, &app);
    EXPECT_EQ(AfxGetApp(), nullptr) << "the running application is cleared after the run";
    EXPECT_EQ(app.seenName, WString(TEXT("Switcher")));
    EXPECT_EQ(app.seenCommandLine, WString(TEXT(" 42 ")));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.window.postNcDestroys, 1);
    EXPECT_EQ(device.Now(), 5000u) << "the loop ended at the close, not before";
}

TEST_F(WinAppTest, GivenNameIsKept) {
    TestApp app(false, TEXT("Other"));
    AfxWinMain(app, nullptr, nullptr);
    EXPECT_EQ(app.seenName, WString(TEXT("Other")));
    EXPECT_EQ(app.seenCommandLine, WString());
}

TEST_F(WinAppTest, FailedInitInstanceEndsWithoutALoop) {
    TestApp app(false);
    EXPECT_EQ(AfxWinMain(app, nullptr, TEXT("")), 100);
    EXPECT_EQ(app.exitCalls, 1);
    EXPECT_EQ(device.trace.Count("GetMessageW"), 0u);
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST_F(WinAppTest, MainWindowLeftAfterAnOutsideQuitIsDestroyed) {
    TestApp app;
    // The agenda is empty, so the device ends the run with WM_QUIT while the window exists.
    EXPECT_EQ(AfxWinMain(app, nullptr, TEXT("")), 100);
    EXPECT_EQ(app.window.m_hWnd, nullptr);
    EXPECT_EQ(app.window.postNcDestroys, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(WinAppTest, SecondInstanceBringsTheFirstToTheFrontAndEnds) {
    TestApp first;
    TestApp second;
    const int secondProcess = device.CreateProcess(TEXT("\\Program Files\\Tools\\Switcher.exe"));
    HWND seenForeground = nullptr;
    HWND firstWindow = nullptr;
    int secondResult = -1;
    device.scheduler.At(1000, [&] {
        sim::Device::ProcessScope scope(device, secondProcess);
        firstWindow = first.window.m_hWnd;
        secondResult = AfxWinMain(second, nullptr, TEXT(""));
        seenForeground = GetForegroundWindow();
    });
    device.scheduler.At(2000, [&] { PostMessageW(first.window.m_hWnd, WM_CLOSE, 0, 0); });
    AfxWinMain(first, nullptr, TEXT(""));
    EXPECT_EQ(second.initCalls, 0) << "no second start-up";
    EXPECT_EQ(secondResult, 0);
    ASSERT_NE(firstWindow, nullptr);
    EXPECT_EQ(seenForeground, firstWindow);
    EXPECT_EQ(device.trace.Count("SetForegroundWindow"), 1u);
}

TEST_F(WinAppTest, ProgramUnderAnotherNameIsAnotherProgram) {
    TestApp first;
    TestApp second(true, TEXT("Elsewhere"));
    device.scheduler.At(1000, [&] {
        const int process = device.CreateProcess(TEXT("\\Elsewhere.exe"));
        sim::Device::ProcessScope scope(device, process);
        // The first instance's frame class carries its own name: no match for this one.
        device.scheduler.At(1500, [&] { PostMessageW(second.window.m_hWnd, WM_CLOSE, 0, 0); });
        AfxWinMain(second, nullptr, TEXT(""));
    });
    device.scheduler.At(2000, [&] { PostMessageW(first.window.m_hWnd, WM_CLOSE, 0, 0); });
    AfxWinMain(first, nullptr, TEXT(""));
    EXPECT_EQ(first.initCalls, 1);
    EXPECT_EQ(second.initCalls, 1);
    EXPECT_EQ(second.window.postNcDestroys, 1);
    EXPECT_EQ(device.trace.Count("SetForegroundWindow"), 0u);
}

// The rule from the starting side, with the running instance played by another process of the
// same program: it holds the program's mutex from the start, and its frame appears at
// `frameAt` (or never).
TEST_F(WinAppTest, SecondStartLooksForTheFrameUpToThreeTimesASecondApart) {
    constexpr std::uint64_t kNever = ~std::uint64_t{0};
    struct Row {
        int line;
        std::uint64_t frameAt;
        std::vector<std::uint64_t> looks; // times of the frame look-ups
        bool startsItself;                // no frame found: this start goes on
    };
    const Row rows[] = {
        {__LINE__, 0, {0}, false},
        {__LINE__, 999, {0, 1000}, false},
        // At one instant the end of the Sleep comes before the outside world.
        {__LINE__, 1000, {0, 1000, 2000}, false},
        {__LINE__, 1999, {0, 1000, 2000}, false},
        {__LINE__, 2000, {0, 1000, 2000}, true},
        {__LINE__, kNever, {0, 1000, 2000}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        sim::Device fresh;
        fresh.SetProgramPath(TEXT("\\Program Files\\Tools\\Switcher.exe"));
        const int running = fresh.CreateProcess(TEXT("\\Program Files\\Tools\\Switcher.exe"));
        HANDLE held = nullptr;
        WString frameClass;
        {
            sim::Device::ProcessScope scope(fresh, running);
            frameClass = AfxRegisterWndClass(0);
            held = CreateMutexW(nullptr, FALSE, frameClass.c_str());
        }
        ASSERT_NE(held, nullptr);
        HWND frame = nullptr;
        auto showFrame = [&] {
            sim::Device::ProcessScope scope(fresh, running);
            frame = CreateWindowExW(0, frameClass.c_str(), TEXT("Switcher"), WS_POPUP, 0, 0, 10, 10,
                                    nullptr, nullptr, nullptr, nullptr);
        };
        if (row.frameAt == 0)
            showFrame();
        else if (row.frameAt != kNever)
            fresh.scheduler.At(row.frameAt, showFrame);
        fresh.trace.Enable(true);

        TestApp second;
        AfxWinMain(second, nullptr, TEXT(""));
        std::vector<std::uint64_t> looks;
        for (const sim::TraceCall& call : fresh.trace.Records())
            if (call.name == "FindWindowW" && call.process == sim::kProgramProcess)
                looks.push_back(call.time);
        EXPECT_EQ(looks, row.looks);
        EXPECT_EQ(second.initCalls, row.startsItself ? 1 : 0);
        EXPECT_EQ(fresh.trace.Count("SetForegroundWindow"), row.startsItself ? 0u : 1u);
        if (!row.startsItself) {
            EXPECT_EQ(fresh.windows.Foreground(), frame);
        }
        EXPECT_EQ(fresh.OpenHandles(sim::kProgramProcess, sim::HandleKind::Mutex), 0)
            << "the start lets go of the mutex when it ends";
        EXPECT_TRUE(fresh.events.Exists(frameClass)) << "the running instance still holds it";
    }
}

TEST_F(WinAppTest, StartWithNoOtherInstanceDoesNotWaitAndHoldsTheMutexForItsRun) {
    TestApp app;
    const WString frameClass = AfxWndClassName(0);
    int heldDuringRun = -1;
    device.scheduler.At(500, [&] {
        heldDuringRun = device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Mutex);
        PostMessageW(app.window.m_hWnd, WM_CLOSE, 0, 0);
    });
    AfxWinMain(app, nullptr, TEXT(""));
    EXPECT_EQ(app.initCalls, 1);
    EXPECT_EQ(device.trace.Count("Sleep"), 0u) << "no wait before InitInstance";
    EXPECT_EQ(device.trace.Count("FindWindowW"), 0u) << "nothing to look for";
    EXPECT_EQ(device.trace.Count("CreateMutexW"), 1u);
    EXPECT_EQ(heldDuringRun, 1);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Mutex), 0);
    EXPECT_FALSE(device.events.Exists(frameClass)) << "the name is free once the run is over";
}

} // namespace
