// Foreground, z-order and activation as the simulated user and the program change them.
#include <gtest/gtest.h>

#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

class ForegroundTest : public DeviceTest {
  protected:
    WString ForegroundCaption() {
        WCHAR buffer[64] = {};
        GetWindowTextW(GetForegroundWindow(), buffer, 64);
        return buffer;
    }
    std::vector<WString> ZOrder() {
        std::vector<WString> captions;
        EnumWindows(
            [](HWND window, LPARAM lParam) -> BOOL {
                WCHAR buffer[64] = {};
                GetWindowTextW(window, buffer, 64);
                reinterpret_cast<std::vector<WString>*>(lParam)->push_back(buffer);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&captions));
        return captions;
    }
};

TEST_F(ForegroundTest, BootsWithTheDesktopInFront) {
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Desktop")));
    EXPECT_EQ(ZOrder(), (std::vector<WString>{TEXT("Desktop")}));
    EXPECT_EQ(GetActiveWindow(), nullptr) << "the program's process has no active window";
}

TEST_F(ForegroundTest, ClosingTheForegroundWindowFrontsTheNextInZOrder) {
    device.OpenWindow(TEXT("A"));
    device.OpenWindow(TEXT("B"));
    device.OpenWindow(TEXT("C"));
    device.Front(TEXT("A"));
    EXPECT_EQ(ZOrder(), (std::vector<WString>{TEXT("A"), TEXT("C"), TEXT("B"), TEXT("Desktop")}));
    struct Step {
        int line;
        const WCHAR* close;
        const WCHAR* foreground;
    };
    const Step steps[] = {
        {__LINE__, TEXT("A"), TEXT("C")},
        {__LINE__, TEXT("B"), TEXT("C")}, // closing a background window changes nothing
        {__LINE__, TEXT("C"), TEXT("Desktop")},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(device.Close(s.close)) << "step at line " << s.line;
        EXPECT_EQ(ForegroundCaption(), WString(s.foreground)) << "step at line " << s.line;
    }
    EXPECT_FALSE(device.Close(TEXT("A")));
}

TEST_F(ForegroundTest, HiddenWindowsAreSkippedWhenTheForegroundMovesOn) {
    HWND hidden = device.OpenWindow(TEXT("Hidden"));
    ShowWindow(hidden, SW_HIDE);
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Desktop")));
    device.OpenWindow(TEXT("Shown"));
    device.Close(TEXT("Shown"));
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Desktop")));
    // Taking over the foreground brings the Desktop to the top, above the hidden window.
    EXPECT_EQ(ZOrder(), (std::vector<WString>{TEXT("Desktop"), TEXT("Hidden")}));
}

TEST_F(ForegroundTest, OpenBehindLeavesTheForegroundAlone) {
    device.OpenWindow(TEXT("Front"));
    HWND behind = device.OpenWindowBehind(TEXT("Behind"));
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Front")));
    EXPECT_TRUE(IsWindowVisible(behind));
    EXPECT_EQ(ZOrder(), (std::vector<WString>{TEXT("Front"), TEXT("Behind"), TEXT("Desktop")}));
    device.Close(TEXT("Front"));
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Behind")));
}

TEST_F(ForegroundTest, NoForegroundAndBack) {
    device.NoForeground();
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    WCHAR buffer[8] = {'#'};
    EXPECT_EQ(GetWindowTextW(GetForegroundWindow(), buffer, 8), 0);
    EXPECT_TRUE(device.Front(TEXT("Desktop")));
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Desktop")));
}

TEST_F(ForegroundTest, TheProgramsWindowsActivateAndLoseActivation) {
    MessageLog log;
    log.ignored = {WM_PAINT,    WM_ERASEBKGND, WM_SIZE,      WM_MOVE,
                   WM_NCCREATE, WM_CREATE,     WM_SHOWWINDOW};
    MessageLog::RegisterClassFor(TEXT("Frame"));
    HWND frame =
        CreateWindowExW(0, TEXT("Frame"), TEXT("Kipo"), WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetForegroundWindow(), frame);
    device.OpenWindow(TEXT("Other"));
    EXPECT_EQ(GetActiveWindow(), nullptr) << "a background process has no active window";
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(SetForegroundWindow(frame));
    EXPECT_EQ(GetActiveWindow(), frame);
    EXPECT_SEQUENCE(log,
                    {{WM_ACTIVATE, kWParam, WA_ACTIVE},
                     {WM_SETFOCUS},
                     {WM_ACTIVATE, kWParam, WA_INACTIVE},
                     {WM_KILLFOCUS},
                     {WM_ACTIVATE, kWParam, WA_ACTIVE},
                     {WM_SETFOCUS}},
                    frame);
    log.Clear();
    ShowWindow(frame, SW_HIDE);
    EXPECT_EQ(ForegroundCaption(), WString(TEXT("Other")));
    EXPECT_SEQUENCE(log, {{WM_ACTIVATE, kWParam, WA_INACTIVE}, {WM_KILLFOCUS}}, frame);
}

TEST_F(ForegroundTest, DefaultPlacementFollowsTheScreen) {
    struct Case {
        int line;
        int width, height;
        RECT expected;
    };
    const Case cases[] = {
        {__LINE__, 240, 320, RECT{0, 26, 240, 294}},
        {__LINE__, 480, 640, RECT{0, 52, 480, 588}},
    };
    MessageLog::RegisterClassFor(TEXT("Placed"));
    for (const Case& c : cases) {
        device.SetScreenSize(c.width, c.height);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width) << "case at line " << c.line;
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height) << "case at line " << c.line;
        HWND window = CreateWindowExW(0, TEXT("Placed"), TEXT("p"), 0, CW_USEDEFAULT, 0,
                                      CW_USEDEFAULT, 0, nullptr, nullptr, nullptr, nullptr);
        RECT rect{};
        EXPECT_TRUE(GetWindowRect(window, &rect));
        EXPECT_EQ(rect.left, c.expected.left) << "case at line " << c.line;
        EXPECT_EQ(rect.top, c.expected.top) << "case at line " << c.line;
        EXPECT_EQ(rect.right, c.expected.right) << "case at line " << c.line;
        EXPECT_EQ(rect.bottom, c.expected.bottom) << "case at line " << c.line;
        RECT desktop{};
        GetWindowRect(device.DesktopWindow(), &desktop);
        EXPECT_EQ(desktop.bottom, c.height) << "the Today screen fills the screen";
    }
}

TEST_F(ForegroundTest, ChildRectanglesAreInScreenPixels) {
    MessageLog::RegisterClassFor(TEXT("Box"));
    HWND parent = CreateWindowExW(0, TEXT("Box"), TEXT("p"), 0, 10, 30, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND child = CreateWindowExW(0, TEXT("Box"), TEXT("c"), WS_CHILD, 5, 7, 50, 20, parent, nullptr,
                                 nullptr, nullptr);
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 37);
    EXPECT_EQ(rect.right, 65);
    EXPECT_EQ(rect.bottom, 57);
    GetClientRect(child, &rect);
    EXPECT_EQ(rect.right, 50);
    EXPECT_EQ(rect.bottom, 20);
    MoveWindow(parent, 0, 0, 240, 100, TRUE);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 7);
    SetWindowPos(child, nullptr, 1, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.right, 51) << "SWP_NOSIZE keeps the size";
}

} // namespace
