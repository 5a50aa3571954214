// CWnd: the one window procedure binds the object at WM_NCCREATE, dispatches through the
// class's map chain (derived entries before the base's), gives unmapped messages to the
// default procedure, and unbinds at WM_NCDESTROY.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/app_name.h"
#include "framework/wnd.h"
#include "framework/wnd_class.h"
#include "platform/text.h"
#include "tests/support/device_test.h"

namespace {

constexpr UINT WM_BASEONLY = WM_USER + 10;
constexpr UINT WM_BOTH = WM_USER + 11;
constexpr UINT WM_UNMAPPED = WM_USER + 12;

class BaseWnd : public CWnd {
  public:
    explicit BaseWnd(std::vector<std::string>& log) : log_(log) {}
    LRESULT OnBaseOnly(WPARAM w, LPARAM) {
        log_.push_back("base only " + std::to_string(w));
        return 11;
    }
    LRESULT OnBoth(WPARAM, LPARAM) {
        log_.push_back("base both");
        return 12;
    }
    int OnCreate(LPCREATESTRUCTW cs) {
        log_.push_back("create");
        created = *cs;
        return CWnd::OnCreate(cs);
    }
    CREATESTRUCTW created = {};
    DECLARE_MESSAGE_MAP()

  protected:
    std::vector<std::string>& log_;
};

// clang-format off
BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
    on::Create<&BaseWnd::OnCreate>(),
    on::Message<&BaseWnd::OnBaseOnly>(WM_BASEONLY),
    on::Message<&BaseWnd::OnBoth>(WM_BOTH),
END_MESSAGE_MAP();
// clang-format on

class DerivedWnd : public BaseWnd {
  public:
    using BaseWnd::BaseWnd;
    LRESULT OnBoth(WPARAM, LPARAM) {
        log_.push_back("derived both");
        return 22;
    }
    void OnTimer(UINT_PTR id) {
        log_.push_back("timer " + std::to_string(id));
        CWnd::OnTimer(id);
    }
    void PostNcDestroy() override { log_.push_back("post nc destroy"); }
    void Let(HWND window) { Attach(window); }
    void Release() { Detach(); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
    on::Message<&DerivedWnd::OnBoth>(WM_BOTH),
    on::Timer<&DerivedWnd::OnTimer>(),
END_MESSAGE_MAP();
// clang-format on

class WndTest : public DeviceTest {
  protected:
    std::vector<std::string> log;
    DerivedWnd wnd{log};

    void CreateIt() {
        ASSERT_TRUE(
            wnd.CreateEx(0, nullptr, TEXT("Test"), WS_POPUP, 1, 2, 30, 40, nullptr, nullptr));
        ASSERT_NE(wnd.m_hWnd, nullptr);
    }
};

TEST_F(WndTest, ObjectIsBoundAtCreationAndSeesItsCreateStruct) {
    CreateIt();
    EXPECT_EQ(GetWindowLongPtrW(wnd.m_hWnd, GWLP_USERDATA),
              reinterpret_cast<LONG_PTR>(static_cast<CWnd*>(&wnd)));
    ASSERT_EQ(log, std::vector<std::string>{"create"});
    EXPECT_EQ(wnd.created.cx, 30);
    EXPECT_EQ(wnd.created.cy, 40);
    EXPECT_EQ(WString(wnd.created.lpszName), WString(TEXT("Test")));
    // No class given: the framework's plain class, named after the application.
    WString className = AfxWndClassName(0);
    EXPECT_NE(FindWindowW(className.c_str(), nullptr), nullptr);
}

struct DispatchCase {
    int line;
    UINT message;
    LRESULT result;
    const char* logged; // null: nothing logged
};

TEST_F(WndTest, MessagesFollowTheMapChain) {
    CreateIt();
    const DispatchCase cases[] = {
        {__LINE__, WM_BASEONLY, 11, "base only 7"},
        {__LINE__, WM_BOTH, 22, "derived both"}, // the derived entry hides the base's
        {__LINE__, WM_UNMAPPED, 0, nullptr},     // default window procedure
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        log.clear();
        EXPECT_EQ(SendMessageW(wnd.m_hWnd, c.message, 7, 0), c.result);
        if (c.logged == nullptr)
            EXPECT_TRUE(log.empty());
        else
            EXPECT_EQ(log, std::vector<std::string>{c.logged});
    }
}

TEST_F(WndTest, TimerReachesItsEntryThroughTheMessageLoop) {
    CreateIt();
    log.clear();
    ASSERT_EQ(wnd.SetTimer(5, 100, nullptr), 5u);
    // Let two expiries pass, then stop the run.
    device.scheduler.At(250, [&] { wnd.KillTimer(5); });
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    EXPECT_EQ(log, (std::vector<std::string>{"timer 5", "timer 5"}));
}

TEST_F(WndTest, DestroyUnbindsAndCallsPostNcDestroyLast) {
    CreateIt();
    HWND window = wnd.m_hWnd;
    log.clear();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(log, std::vector<std::string>{"post nc destroy"});
}

TEST_F(WndTest, DetachedWindowNoLongerReachesItsObject) {
    CreateIt();
    HWND window = wnd.m_hWnd;
    wnd.Release();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    log.clear();
    EXPECT_EQ(SendMessageW(window, WM_BASEONLY, 7, 0), 0) << "the default procedure answers";
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(log.empty()) << "not even its destruction";
}

TEST_F(WndTest, DetachLeavesAWindowThatAnotherObjectTookOver) {
    CreateIt();
    HWND window = wnd.m_hWnd;
    std::vector<std::string> otherLog;
    DerivedWnd other(otherLog);
    other.Let(window);
    wnd.Release();
    log.clear();
    EXPECT_EQ(SendMessageW(window, WM_BASEONLY, 7, 0), 11);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(otherLog, std::vector<std::string>{"base only 7"});
    EXPECT_TRUE(other.DestroyWindow());
}

TEST_F(WndTest, ObjectDeletedBeforeItsWindowTakesTheWindowAlong) {
    HWND window = nullptr;
    {
        std::vector<std::string> local;
        DerivedWnd temporary(local);
        ASSERT_TRUE(temporary.CreateEx(0, nullptr, TEXT("Short"), WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr));
        window = temporary.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WndTest, PreCreateWindowCanRefuse) {
    class Refusing : public CWnd {
      public:
        BOOL PreCreateWindow(CREATESTRUCTW&) override { return FALSE; }
    } refusing;
    EXPECT_FALSE(refusing.CreateEx(0, nullptr, TEXT("No"), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
    EXPECT_EQ(refusing.m_hWnd, nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("No")), nullptr);
}

TEST_F(WndTest, FrameworkClassesAreRegisteredOncePerAttributes) {
    const WString first = AfxRegisterWndClass(CS_HREDRAW);
    const WString again = AfxRegisterWndClass(CS_HREDRAW);
    const WString other = AfxRegisterWndClass(CS_VREDRAW);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    WNDCLASSW info = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), first.c_str(), &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW));
    EXPECT_EQ(info.lpfnWndProc, &CWnd::WindowProcTrampoline);
    EXPECT_EQ(device.trace.Count("RegisterClassW"), 2u);
}

// Other programs see these names (GetClassNameW): the attributes in lower-case hex.
TEST_F(WndTest, ClassNamesSpellTheirAttributesInHex) {
    const struct {
        int line;
        UINT style;
        ULONG_PTR cursor, brush, icon;
        const char* attributes;
    } cases[] = {
        {__LINE__, 0, 0, 0, 0, ":0:0:0:0"},
        {__LINE__, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 0, COLOR_WINDOW + 1, 0, ":b:0:6:0"},
        {__LINE__, 0x20B, 0x10, 0xFF, 0xABCDEF, ":20b:10:ff:abcdef"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        const WString name =
            AfxWndClassName(c.style, reinterpret_cast<HCURSOR>(c.cursor),
                            reinterpret_cast<HBRUSH>(c.brush), reinterpret_cast<HICON>(c.icon));
        EXPECT_EQ(ToUtf8(name), "Afx:" + ToUtf8(AfxAppName()) + c.attributes);
    }
}

} // namespace

// Answers WM_GETTEXTLENGTH through Default() after a nested message to the same object.
class NestingWnd : public CWnd {
  public:
    LRESULT OnGetTextLength(WPARAM, LPARAM) {
        ::SendMessageW(m_hWnd, WM_UNMAPPED, 3, 0); // dispatched on this object, inside
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(NestingWnd, CWnd)
    on::Message<&NestingWnd::OnGetTextLength>(WM_GETTEXTLENGTH),
END_MESSAGE_MAP();
// clang-format on

TEST_F(WndTest, DefaultAfterANestedDispatchAnswersTheOuterMessage) {
    NestingWnd nesting;
    ASSERT_TRUE(
        nesting.CreateEx(0, nullptr, TEXT("Outer"), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    // The default procedure must see WM_GETTEXTLENGTH again, not the nested message.
    EXPECT_EQ(SendMessageW(nesting.m_hWnd, WM_GETTEXTLENGTH, 0, 0), 5);
    EXPECT_EQ(SendMessageW(nesting.m_hWnd, WM_GETTEXTLENGTH, 0, 0), 5);
    DestroyWindow(nesting.m_hWnd);
}
