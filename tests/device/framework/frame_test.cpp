// CFrameWnd and CCeCommandBar: the frame from resource 128, command routing (view, frame,
// application), WM_CLOSE deleting a heap frame, creation failure leaving nothing behind.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/ce_command_bar.h"
#include "framework/frame_wnd.h"
#include "framework/resource_string.h"
#include "framework/win_app.h"
#include "res/resource_ids.h"
#include "tests/support/device_test.h"

namespace {

std::vector<std::string>* g_log = nullptr; // the test's log, set by the fixture

class View : public CWnd {
  public:
    void OnViewCommand() { g_log->push_back("view 101"); }
    void OnSharedInView() { g_log->push_back("view 105"); }
    DECLARE_MESSAGE_MAP()
};
// clang-format off
BEGIN_MESSAGE_MAP(View, CWnd)
    on::Command<&View::OnViewCommand>(101),
    on::Command<&View::OnSharedInView>(105),
END_MESSAGE_MAP();
// clang-format on

class Frame : public CFrameWnd {
  public:
    explicit Frame(int* destroyed = nullptr, bool failCreate = false)
        : destroyed_(destroyed), failCreate_(failCreate) {}
    ~Frame() override {
        if (destroyed_ != nullptr)
            ++*destroyed_;
    }
    int OnCreate(LPCREATESTRUCTW cs) {
        if (CFrameWnd::OnCreate(cs) == -1 || failCreate_)
            return -1;
        if (!view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, this,
                         AFX_IDW_PANE_FIRST))
            return -1;
        SetActiveView(&view);
        if (!bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_TOOLBAR) ||
            !bar.InsertMenuBar(IDR_MAINFRAME))
            return -1;
        return 0;
    }
    void OnFrameCommand() { g_log->push_back("frame 102"); }
    void OnSharedInFrame() { g_log->push_back("frame 105"); }
    View view;
    CCeCommandBar bar;
    DECLARE_MESSAGE_MAP()

  private:
    int* destroyed_;
    bool failCreate_;
};
// clang-format off
BEGIN_MESSAGE_MAP(Frame, CFrameWnd)
    on::Create<&Frame::OnCreate>(),
    on::Command<&Frame::OnFrameCommand>(102),
    on::Command<&Frame::OnSharedInFrame>(105),
END_MESSAGE_MAP();
// clang-format on

class App : public CWinApp {
  public:
    void OnAppCommand() { g_log->push_back("app 103"); }
    void OnSharedInApp() { g_log->push_back("app 105"); }
    DECLARE_MESSAGE_MAP()
};
// clang-format off
BEGIN_MESSAGE_MAP(App, CWinApp)
    on::Command<&App::OnAppCommand>(103),
    on::Command<&App::OnSharedInApp>(105),
END_MESSAGE_MAP();
// clang-format on

class FrameTest : public DeviceTest {
  protected:
    FrameTest() : previous_(AfxSetRunningApp(&app)) { g_log = &log; }
    ~FrameTest() override {
        AfxSetRunningApp(previous_);
        g_log = nullptr;
    }
    std::vector<std::string> log;
    App app;

  private:
    CWinApp* previous_;
};

TEST_F(FrameTest, CommandsGoToTheViewThenTheFrameThenTheApplication) {
    auto* frame = new Frame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    struct Case {
        int line;
        UINT id;
        const char* handledBy; // null: nobody
    };
    const Case cases[] = {
        {__LINE__, 101, "view 101"}, {__LINE__, 102, "frame 102"}, {__LINE__, 103, "app 103"},
        {__LINE__, 105, "view 105"}, {__LINE__, 104, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        log.clear();
        SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        if (c.handledBy == nullptr)
            EXPECT_TRUE(log.empty());
        else
            EXPECT_EQ(log, std::vector<std::string>{c.handledBy});
    }
    frame->DestroyWindow();
}

TEST_F(FrameTest, TitleIsTheFirstLineOfItsStringAndTheMenuComesFromTheBar) {
    int destroyed = 0;
    auto* frame = new Frame(&destroyed);
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    WCHAR caption[64] = {};
    GetWindowTextW(frame->m_hWnd, caption, 64);
    EXPECT_EQ(WString(caption), WString(TEXT("Kipo")));
    EXPECT_EQ(GetWindowLongW(frame->m_hWnd, GWL_STYLE) & 0xFFFF, 0x8000);
    ASSERT_NE(frame->GetMenu(), nullptr);
    EXPECT_EQ(frame->GetMenu(), frame->bar.GetMenu());
    HMENU file = GetSubMenu(frame->GetMenu(), 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuItemID(file, 0), 32771u);
    EXPECT_EQ(GetMenuItemID(file, 3), 57665u);
    frame->DestroyWindow();
    EXPECT_EQ(destroyed, 1);
}

TEST_F(FrameTest, StringsLoadWholeAndNoLongerThanThemselves) {
    const struct {
        int line;
        UINT id;
        WString text;
    } cases[] = {
        {__LINE__, IDR_MAINFRAME, TEXT("Kipo\n\nKipo\n\n\nKipo.Document\nKipo Document")},
        {__LINE__, IDS_SETTINGS, TEXT("Settings")},
        {__LINE__, 0x7FFF, WString()}, // no such string
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        const std::size_t calls = device.trace.Count("LoadStringW");
        const WString text = LoadResourceString(c.id);
        EXPECT_EQ(text.size(), c.text.size());
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(device.trace.Count("LoadStringW"), calls + 1) << "a short string is read once";
    }
}

TEST_F(FrameTest, CloseDestroysTheWindowAndDeletesTheFrame) {
    int destroyed = 0;
    auto* frame = new Frame(&destroyed);
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    HWND window = frame->m_hWnd;
    HWND view = frame->view.m_hWnd;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(view));
}

TEST_F(FrameTest, ExitFromTheFramesOwnCommandEndsTheProgram) {
    int destroyed = 0;
    auto* frame = new Frame(&destroyed);
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    app.m_pMainWnd = frame;
    // Exit arrives as a posted command, like a menu choice; the frame is deleted while its
    // own WM_COMMAND is being dispatched.
    PostMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    MSG msg;
    int messages = 0;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
        ++messages;
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(device.Now(), 0u) << "the quit came from the frame, not from an idle device";
}

TEST_F(FrameTest, FocusGivenToTheFrameGoesToTheActiveView) {
    auto* frame = new Frame();
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    SetFocus(frame->m_hWnd);
    EXPECT_EQ(GetFocus(), frame->view.m_hWnd);
    frame->SetActiveView(nullptr);
    SetFocus(frame->m_hWnd);
    EXPECT_EQ(GetFocus(), frame->m_hWnd) << "no view: the frame keeps it";
    frame->DestroyWindow();
}

TEST_F(FrameTest, OnlyTheMainWindowsEndEndsTheProgram) {
    int destroyed = 0;
    auto* frame = new Frame(&destroyed);
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    app.m_pMainWnd = frame;
    MSG msg;
    EXPECT_TRUE(DestroyWindow(frame->view.m_hWnd));
    EXPECT_EQ(app.m_pMainWnd, frame);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "a child's end";
    EXPECT_TRUE(frame->DestroyWindow());
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(FrameTest, FailedCreationDeletesTheFrameAndLeavesNoWindow) {
    int destroyed = 0;
    auto* frame = new Frame(&destroyed, true);
    EXPECT_FALSE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
}

struct BarCase {
    int line;
    int width, height;
    RECT rect;
};

TEST_F(FrameTest, CommandBarLiesAlongTheScreensBottomEdge) {
    const BarCase cases[] = {
        {__LINE__, 240, 320, {0, 294, 240, 320}},
        {__LINE__, 480, 640, {0, 588, 480, 640}},
        {__LINE__, 240, 240, {0, 221, 240, 240}},
    };
    for (const BarCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        device.SetScreenSize(c.width, c.height);
        auto* frame = new Frame;
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE));
        RECT rect = {};
        frame->bar.GetWindowRect(&rect);
        EXPECT_EQ(rect.left, c.rect.left);
        EXPECT_EQ(rect.top, c.rect.top);
        EXPECT_EQ(rect.right, c.rect.right);
        EXPECT_EQ(rect.bottom, c.rect.bottom);
        EXPECT_EQ(frame->bar.GetBarStyle(), CBRS_ALIGN_TOP) << "bar styles are not window styles";
        EXPECT_EQ(GetWindowLongW(frame->bar.m_hWnd, GWL_STYLE) & CBRS_ALIGN_TOP, 0);
        frame->DestroyWindow();
    }
}

} // namespace
