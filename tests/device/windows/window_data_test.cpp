// Window data and state: Get/SetWindowLong(Ptr)W, subclassing through GWL_WNDPROC, parents and
// siblings, enabling, focus, showing and painting.
#include <gtest/gtest.h>

#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

class WindowDataTest : public DeviceTest {
  protected:
    WindowDataTest() {
        MessageLog::RegisterClassFor(TEXT("Data"), 16);
        window = Make(TEXT("data"));
        log.Clear();
    }
    HWND Make(const WCHAR* caption, HWND parent = nullptr, DWORD style = 0, int id = 0) {
        return CreateWindowExW(0, TEXT("Data"), caption, style, 0, 0, 50, 50, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    MessageLog log;
    HWND window = nullptr;
};

int g_subclassed = 0;
WNDPROC g_original = nullptr;
LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER)
        ++g_subclassed;
    return CallWindowProcW(g_original, window, message, wParam, lParam);
}

TEST_F(WindowDataTest, UserDataAndExtraBytesKeepWhatIsStored) {
    EXPECT_EQ(SetWindowLongPtrW(window, GWL_USERDATA, 0x1122334455667788), 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_USERDATA), 0x1122334455667788);
    EXPECT_EQ(GetWindowLongW(window, GWL_USERDATA), static_cast<LONG>(0x55667788));
    EXPECT_EQ(SetWindowLongPtrW(window, 8, 42), 0);
    EXPECT_EQ(GetWindowLongPtrW(window, 8), 42);
    EXPECT_EQ(SetWindowLongW(window, 0, -7), 0);
    EXPECT_EQ(GetWindowLongW(window, 0), -7);
    struct Case {
        int line;
        int index;
    };
    const Case outside[] = {{__LINE__, 9}, {__LINE__, 16}, {__LINE__, 1000}, {__LINE__, -99}};
    for (const Case& c : outside) {
        SetLastError(0);
        EXPECT_EQ(GetWindowLongPtrW(window, c.index), 0) << "case at line " << c.line;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX))
            << "case at line " << c.line;
        EXPECT_EQ(SetWindowLongPtrW(window, c.index, 1), 0) << "case at line " << c.line;
    }
    EXPECT_EQ(GetWindowLongPtrW(reinterpret_cast<HWND>(0x1234), GWL_USERDATA), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowDataTest, SubclassingThroughGwlWndProc) {
    g_subclassed = 0;
    g_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
    EXPECT_EQ(g_original, &MessageLog::Proc);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&Subclass));
    SendMessageW(window, WM_USER, 0, 0);
    EXPECT_EQ(g_subclassed, 1);
    EXPECT_EQ(log.Messages(window), (std::vector<UINT>{WM_USER}));
    SetLastError(0);
    EXPECT_EQ(GetWindowLongW(window, GWL_WNDPROC), 0) << "an address does not fit in 32 bits";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

    HWND foreign = device.OpenWindow(TEXT("Foreign"));
    EXPECT_EQ(SetWindowLongPtrW(foreign, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(WindowDataTest, StyleIdParentOwnerAndSiblings) {
    HWND first = Make(TEXT("1"), window, WS_CHILD, 101);
    HWND second = Make(TEXT("2"), window, WS_CHILD | WS_VISIBLE, 102);
    HWND popup = Make(TEXT("popup"), second, WS_POPUP);
    HWND owned = Make(TEXT("owned"), window, 0);
    EXPECT_EQ(GetWindowLongW(first, GWL_ID), 101);
    EXPECT_NE(GetWindowLongW(second, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(GetParent(first), window);
    EXPECT_EQ(GetParent(popup), window) << "a popup's parent is its top-level owner";
    EXPECT_EQ(GetParent(owned), nullptr) << "an overlapped window has no parent";
    EXPECT_EQ(GetWindow(owned, GW_OWNER), window);
    struct Case {
        int line;
        HWND from;
        UINT relation;
        HWND expected;
    };
    const Case cases[] = {
        {__LINE__, window, GW_CHILD, first},     {__LINE__, first, GW_HWNDNEXT, second},
        {__LINE__, second, GW_HWNDPREV, first},  {__LINE__, second, GW_HWNDNEXT, nullptr},
        {__LINE__, first, GW_HWNDPREV, nullptr}, {__LINE__, second, GW_HWNDFIRST, first},
        {__LINE__, first, GW_HWNDLAST, second},  {__LINE__, first, GW_CHILD, nullptr},
        {__LINE__, owned, GW_HWNDFIRST, owned},  {__LINE__, window, 99, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetWindow(c.from, c.relation), c.expected) << "case at line " << c.line;
}

TEST_F(WindowDataTest, VisibilityNeedsEveryParentVisible) {
    HWND child = Make(TEXT("child"), window, WS_CHILD | WS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_FALSE(ShowWindow(child, SW_HIDE) == FALSE) << "reports it was visible";
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_FALSE(ShowWindow(child, SW_HIDE)) << "already hidden";
}

TEST_F(WindowDataTest, EnableWindowReportsThePreviousStateAndTakesFocusAway) {
    HWND child = Make(TEXT("child"), window, WS_CHILD | WS_VISIBLE);
    ShowWindow(window, SW_SHOW);
    SetFocus(child);
    ASSERT_EQ(GetFocus(), child);
    log.Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE)) << "was enabled";
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(child, FALSE)) << "was disabled";
    EXPECT_TRUE(EnableWindow(child, TRUE));
    EXPECT_SEQUENCE(log, {{WM_KILLFOCUS}, {WM_ENABLE, kWParam, FALSE}, {WM_ENABLE, kWParam, TRUE}},
                    child);
}

TEST_F(WindowDataTest, FocusMovesBetweenTheProgramsWindowsWithMessages) {
    HWND a = Make(TEXT("a"), window, WS_CHILD | WS_VISIBLE);
    HWND b = Make(TEXT("b"), window, WS_CHILD | WS_VISIBLE);
    ShowWindow(window, SW_SHOW);
    log.Clear();
    log.ignored = {WM_PAINT, WM_ERASEBKGND};
    EXPECT_EQ(SetFocus(a), window);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_SEQUENCE(log,
                    {{WM_KILLFOCUS, kWParam, reinterpret_cast<WPARAM>(a), 0, window},
                     {WM_SETFOCUS, kWParam, reinterpret_cast<WPARAM>(window), 0, a},
                     {WM_KILLFOCUS, kWParam, reinterpret_cast<WPARAM>(b), 0, a},
                     {WM_SETFOCUS, kWParam, reinterpret_cast<WPARAM>(a), 0, b}},
                    nullptr);
    // Hiding the focused child hands the focus to its parent.
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(SetFocus(device.DesktopWindow()), nullptr) << "another process's window";
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(WindowDataTest, PaintingFollowsInvalidation) {
    log.ignored = {WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS};
    ShowWindow(window, SW_SHOWNA);
    log.Clear();
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_SEQUENCE(log, {{WM_PAINT}, {WM_ERASEBKGND}}, window); // DefWindowProcW's BeginPaint
    log.Clear();
    EXPECT_TRUE(UpdateWindow(window));
    EXPECT_TRUE(log.entries.empty()) << "nothing left to paint";

    EXPECT_TRUE(InvalidateRect(window, nullptr, FALSE));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(paint.rcPaint.right, 50);
    EXPECT_FALSE(paint.fErase) << "no erase was asked for";
    EXPECT_TRUE(EndPaint(window, &paint));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "validated by BeginPaint";

    // An erase the class cannot do (no background brush) is left to the painter.
    InvalidateRect(window, nullptr, TRUE);
    log.Clear();
    BeginPaint(window, &paint);
    EXPECT_TRUE(paint.fErase);
    EXPECT_SEQUENCE(log, {{WM_ERASEBKGND, kWParam, reinterpret_cast<WPARAM>(dc)}}, window);
    EndPaint(window, &paint);

    // A procedure that never validates is not handed WM_PAINT forever.
    log.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT)
            return 0;
        return std::nullopt;
    };
    InvalidateRect(window, nullptr, TRUE);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageW(&msg);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(0x31), nullptr, TRUE));
}

// The windows waiting for WM_PAINT, in the order the loop hands them out (front-most
// top-level window's tree first, a parent before its children), dispatching each.
std::vector<HWND> Painted(HWND filter = nullptr) {
    std::vector<HWND> painted;
    MSG msg{};
    while (painted.size() < 10 && PeekMessageW(&msg, filter, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        painted.push_back(msg.hwnd);
        DispatchMessageW(&msg);
    }
    return painted;
}

TEST_F(WindowDataTest, PaintReachesShownWindowsOnlyInZOrder) {
    log.ignored = {WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_ERASEBKGND};
    HWND first = Make(TEXT("first"), window, WS_CHILD | WS_VISIBLE);
    HWND second = Make(TEXT("second"), window, WS_CHILD | WS_VISIBLE);
    InvalidateRect(second, nullptr, FALSE);
    InvalidateRect(first, nullptr, FALSE);
    EXPECT_TRUE(Painted().empty()) << "their parent is hidden";

    ShowWindow(window, SW_SHOWNA);
    EXPECT_EQ(Painted(), (std::vector<HWND>{window, first, second}));
    EXPECT_TRUE(Painted().empty()) << "each painted once";

    // A filter takes its window's tree only, and leaves the rest waiting.
    InvalidateRect(first, nullptr, FALSE);
    InvalidateRect(second, nullptr, FALSE);
    EXPECT_EQ(Painted(second), std::vector<HWND>{second});
    EXPECT_EQ(Painted(), std::vector<HWND>{first});

    // A waiting window that is hidden, or destroyed, is not painted; shown again, it is.
    InvalidateRect(first, nullptr, FALSE);
    InvalidateRect(second, nullptr, FALSE);
    ShowWindow(first, SW_HIDE);
    DestroyWindow(second);
    EXPECT_TRUE(Painted().empty());
    ShowWindow(first, SW_SHOWNA);
    EXPECT_EQ(Painted(), std::vector<HWND>{first});

    // Of two top-level windows, the front one is painted first.
    HWND front = Make(TEXT("front"), nullptr, WS_VISIBLE);
    InvalidateRect(window, nullptr, FALSE);
    InvalidateRect(front, nullptr, FALSE);
    EXPECT_EQ(Painted(), (std::vector<HWND>{front, window}));
}

TEST_F(WindowDataTest, SystemBrushesExistForTheSystemColours) {
    EXPECT_NE(GetSysColorBrush(COLOR_WINDOW), nullptr);
    EXPECT_NE(GetSysColorBrush(COLOR_WINDOW), GetSysColorBrush(0));
    EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(1000), nullptr);
}

TEST_F(WindowDataTest, MoveWindowSendsMoveAndSizeForWhatChanged) {
    log.Clear();
    MoveWindow(window, 0, 0, 50, 50, TRUE);
    EXPECT_TRUE(log.entries.empty()) << "nothing changed";
    MoveWindow(window, 5, 6, 50, 50, TRUE);
    MoveWindow(window, 5, 6, 70, 80, TRUE);
    MoveWindow(window, 0, 0, -10, -10, TRUE);
    EXPECT_SEQUENCE(log,
                    {{WM_MOVE, kLParam, 0, MAKELPARAM(5, 6)},
                     {WM_SIZE, kLParam, 0, MAKELPARAM(70, 80)},
                     {WM_MOVE, kLParam, 0, MAKELPARAM(0, 0)},
                     {WM_SIZE, kLParam, 0, MAKELPARAM(0, 0)}},
                    window);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 0) << "a negative size becomes empty";
}

} // namespace
