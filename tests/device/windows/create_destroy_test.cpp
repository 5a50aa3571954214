// The messages CreateWindowExW and DestroyWindow send, and in which order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

constexpr const WCHAR* kClass = TEXT("LogWindow");

class CreateDestroyTest : public DeviceTest {
  protected:
    CreateDestroyTest() { MessageLog::RegisterClassFor(kClass); }

    HWND Create(DWORD style, HWND parent = nullptr, const WCHAR* caption = TEXT("Log")) {
        return CreateWindowExW(0, kClass, caption, style, 10, 20, 100, 50, parent, nullptr, nullptr,
                               reinterpret_cast<LPVOID>(0x1234));
    }
    MessageLog log;
};

TEST_F(CreateDestroyTest, CreationMessagesByKindOfWindow) {
    // An overlapped window hears WM_SIZE and WM_MOVE only when first shown; popups and
    // children at creation.
    struct Case {
        int line;
        DWORD style;
        std::vector<Expected> expected;
    };
    HWND parent = Create(0, nullptr, TEXT("parent"));
    const std::vector<Case> cases = {
        {__LINE__, 0, {{WM_NCCREATE}, {WM_CREATE}}},
        {__LINE__,
         WS_POPUP,
         {{WM_NCCREATE},
          {WM_CREATE},
          {WM_SIZE, kBoth, SIZE_RESTORED, MAKELPARAM(100, 50)},
          {WM_MOVE, kLParam, 0, MAKELPARAM(10, 20)}}},
        {__LINE__, WS_CHILD, {{WM_NCCREATE}, {WM_CREATE}, {WM_SIZE}, {WM_MOVE}}},
    };
    for (const Case& c : cases) {
        log.Clear();
        HWND window = Create(c.style, (c.style & WS_CHILD) != 0 ? parent : nullptr);
        ASSERT_NE(window, nullptr);
        ExpectSequence(log, c.expected, window, __FILE__, c.line);
    }
    EXPECT_EQ(GetForegroundWindow(), device.DesktopWindow()) << "hidden windows take nothing";

    HWND overlapped = Create(0);
    log.Clear();
    ShowWindow(overlapped, SW_SHOWNA);
    ShowWindow(overlapped, SW_HIDE);
    ShowWindow(overlapped, SW_SHOWNA);
    EXPECT_SEQUENCE(log,
                    {{WM_SHOWWINDOW, kWParam, TRUE},
                     {WM_SIZE, kLParam, 0, MAKELPARAM(100, 50)},
                     {WM_MOVE},
                     {WM_SHOWWINDOW, kWParam, FALSE},
                     {WM_SHOWWINDOW, kWParam, TRUE}},
                    overlapped);
}

TEST_F(CreateDestroyTest, VisibleTopLevelWindowIsShownAndActivated) {
    HWND window = Create(WS_VISIBLE);
    ASSERT_NE(window, nullptr);
    log.ignored = {WM_PAINT, WM_ERASEBKGND};
    EXPECT_SEQUENCE(log,
                    {{WM_NCCREATE},
                     {WM_CREATE},
                     {WM_SHOWWINDOW, kWParam, TRUE},
                     {WM_ACTIVATE, kWParam, WA_ACTIVE},
                     {WM_SETFOCUS},
                     {WM_SIZE},
                     {WM_MOVE}},
                    window);
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(CreateDestroyTest, CreateStructCarriesTheArguments) {
    CREATESTRUCTW seen{};
    WString name;
    log.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
            seen = *reinterpret_cast<CREATESTRUCTW*>(lParam);
            name = seen.lpszName;
        }
        return std::nullopt;
    };
    HWND parent = Create(0);
    HWND child =
        CreateWindowExW(0x20, kClass, TEXT("child"), WS_CHILD | 0x5, 3, 4, 30, 40, parent,
                        reinterpret_cast<HMENU>(77), nullptr, reinterpret_cast<LPVOID>(0x99));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(seen.lpCreateParams, reinterpret_cast<LPVOID>(0x99));
    EXPECT_EQ(seen.hwndParent, parent);
    EXPECT_EQ(seen.hMenu, reinterpret_cast<HMENU>(77));
    EXPECT_EQ(seen.x, 3);
    EXPECT_EQ(seen.y, 4);
    EXPECT_EQ(seen.cx, 30);
    EXPECT_EQ(seen.cy, 40);
    EXPECT_EQ(static_cast<DWORD>(seen.style), static_cast<DWORD>(WS_CHILD | 0x5));
    EXPECT_EQ(seen.dwExStyle, 0x20u);
    EXPECT_EQ(name, WString(TEXT("child")));
    EXPECT_EQ(GetWindowLongW(child, GWL_ID), 77);
    EXPECT_EQ(GetParent(child), parent);
}

TEST_F(CreateDestroyTest, FailedCreationSendsOnlyNcDestroy) {
    struct Case {
        int line;
        UINT refused;
        LRESULT answer;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, WM_NCCREATE, FALSE, {{WM_NCCREATE}, {WM_NCDESTROY}}},
        {__LINE__, WM_CREATE, -1, {{WM_NCCREATE}, {WM_CREATE}, {WM_NCDESTROY}}},
    };
    for (const Case& c : cases) {
        log.Clear();
        log.handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == c.refused)
                return c.answer;
            return std::nullopt;
        };
        HWND window = Create(WS_VISIBLE);
        EXPECT_EQ(window, nullptr) << "case at line " << c.line;
        ExpectSequence(log, c.expected, nullptr, __FILE__, c.line);
        ASSERT_FALSE(log.entries.empty());
        EXPECT_FALSE(IsWindow(log.entries.front().window)) << "case at line " << c.line;
        EXPECT_EQ(GetForegroundWindow(), device.DesktopWindow()) << "case at line " << c.line;
    }
}

TEST_F(CreateDestroyTest, CreateFailsForUnknownClassOrBadParent) {
    struct Case {
        int line;
        const WCHAR* className;
        DWORD style;
        HWND parent;
        DWORD error;
    };
    const Case cases[] = {
        {__LINE__, TEXT("NoSuchClass"), 0, nullptr, ERROR_CANNOT_FIND_WND_CLASS},
        {__LINE__, kClass, WS_CHILD, nullptr, ERROR_TLW_WITH_WSCHILD},
        {__LINE__, kClass, 0, reinterpret_cast<HWND>(0x4321), ERROR_INVALID_WINDOW_HANDLE},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(CreateWindowExW(0, c.className, TEXT("x"), c.style, 0, 0, 1, 1, c.parent, nullptr,
                                  nullptr, nullptr),
                  nullptr)
            << "case at line " << c.line;
        EXPECT_EQ(GetLastError(), c.error) << "case at line " << c.line;
    }
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(CreateDestroyTest, ClassNamesIgnoreLetterCase) {
    EXPECT_NE(Create(0, nullptr), nullptr);
    EXPECT_NE(CreateWindowExW(0, TEXT("LOGWINDOW"), TEXT("x"), 0, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    WNDCLASSW again{};
    again.lpfnWndProc = &MessageLog::Proc;
    again.lpszClassName = TEXT("logwindow");
    SetLastError(0);
    EXPECT_EQ(RegisterClassW(&again), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

TEST_F(CreateDestroyTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    HWND parent = Create(0, nullptr, TEXT("parent"));
    HWND child = Create(WS_CHILD, parent, TEXT("child"));
    HWND grandchild = Create(WS_CHILD, child, TEXT("grandchild"));
    HWND owned = Create(WS_POPUP, parent, TEXT("owned"));
    log.Clear();
    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_SEQUENCE(log,
                    {{WM_DESTROY, kMessage, 0, 0, owned},
                     {WM_NCDESTROY, kMessage, 0, 0, owned},
                     {WM_DESTROY, kMessage, 0, 0, parent},
                     {WM_DESTROY, kMessage, 0, 0, child},
                     {WM_DESTROY, kMessage, 0, 0, grandchild},
                     {WM_NCDESTROY, kMessage, 0, 0, grandchild},
                     {WM_NCDESTROY, kMessage, 0, 0, child},
                     {WM_NCDESTROY, kMessage, 0, 0, parent}},
                    nullptr);
    for (HWND gone : {parent, child, grandchild, owned})
        EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(DestroyWindow(parent)) << "a stale handle stays invalid";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(CreateDestroyTest, ChildrenStillExistDuringParentsDestroy) {
    HWND parent = Create(0);
    HWND child = Create(WS_CHILD, parent);
    bool childAlive = false;
    log.handler = [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (window == parent && message == WM_DESTROY)
            childAlive = IsWindow(child) && GetParent(child) == parent;
        return std::nullopt;
    };
    DestroyWindow(parent);
    EXPECT_TRUE(childAlive);
}

TEST_F(CreateDestroyTest, DestroyingAgainInsideDestroySendsNothingTwice) {
    HWND window = Create(0);
    log.handler = [&](HWND w, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY)
            DestroyWindow(w);
        return std::nullopt;
    };
    log.Clear();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_SEQUENCE(log, {{WM_DESTROY}, {WM_NCDESTROY}}, window);
}

TEST_F(CreateDestroyTest, ClosingTheForegroundWindowActivatesTheNext) {
    HWND first = Create(WS_VISIBLE, nullptr, TEXT("first"));
    HWND second = Create(WS_VISIBLE, nullptr, TEXT("second"));
    ASSERT_EQ(GetForegroundWindow(), second);
    log.Clear();
    log.ignored = {WM_PAINT, WM_ERASEBKGND};
    SendMessageW(second, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_SEQUENCE(log,
                    {{WM_CLOSE, kMessage, 0, 0, second},
                     {WM_ACTIVATE, kWParam, WA_INACTIVE, 0, second},
                     {WM_ACTIVATE, kWParam, WA_ACTIVE, 0, first},
                     {WM_KILLFOCUS, kMessage, 0, 0, second},
                     {WM_SETFOCUS, kMessage, 0, 0, first},
                     {WM_DESTROY, kMessage, 0, 0, second},
                     {WM_NCDESTROY, kMessage, 0, 0, second}},
                    nullptr);
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(GetFocus(), first);
}

TEST_F(CreateDestroyTest, WindowsOfAnotherProcessCannotBeDestroyed) {
    HWND other = device.OpenWindow(TEXT("Other"));
    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(other));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(IsWindow(other));
}

TEST_F(CreateDestroyTest, ManyWindowsKeepTheirOwnStateAndDestroyedOnesStayGone) {
    // More windows than the handle look-up remembers, visited round and round: each handle
    // must keep reaching its own window, and a destroyed one must answer as gone at once.
    std::vector<HWND> windows;
    std::vector<WString> captions;
    for (int k = 0; k < 40; ++k) {
        captions.push_back(TEXT("window "));
        for (char digit : std::to_string(k))
            captions.back().push_back(static_cast<WCHAR>(digit));
        windows.push_back(Create(0, nullptr, captions.back().c_str()));
        ASSERT_NE(windows.back(), nullptr);
    }
    for (int step = 1; step <= 3; ++step) {
        for (int k = 0; k < 40; k += step) {
            WCHAR text[32] = {};
            GetWindowTextW(windows[k], text, 32);
            EXPECT_TRUE(captions[k] == text) << "window " << k;
        }
    }
    for (int k = 0; k < 40; k += 3) {
        EXPECT_TRUE(IsWindow(windows[k]));
        EXPECT_TRUE(DestroyWindow(windows[k]));
        EXPECT_FALSE(IsWindow(windows[k])) << "window " << k;
        EXPECT_EQ(GetWindowTextLengthW(windows[k]), 0);
        if (k + 1 < 40) {
            EXPECT_TRUE(IsWindow(windows[k + 1])) << "window " << k + 1;
        }
    }
}

} // namespace
