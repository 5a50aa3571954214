// Windows the simulated user opens belong to programs of their own; a program whose last
// window closed is taken again for the next one, so a long scenario of opening and closing
// keeps only as many processes (and window classes) as windows are open at once.
#include <gtest/gtest.h>

#include "tests/support/device_test.h"

namespace {

class OpenCloseTest : public DeviceTest {
  protected:
    int ProcessOf(HWND window) const { return device.windows.Get(window)->process; }
};

TEST_F(OpenCloseTest, EachOpenWindowHasAProgramOfItsOwn) {
    const HWND a = device.OpenWindow(TEXT("A"));
    const HWND b = device.OpenWindowBehind(TEXT("B"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(ProcessOf(a), ProcessOf(b));
    EXPECT_GT(ProcessOf(a), sim::kProgramProcess);
    EXPECT_GT(ProcessOf(b), sim::kProgramProcess);
}

TEST_F(OpenCloseTest, AProgramWhoseWindowsAreAllClosedIsTakenAgain) {
    const HWND a = device.OpenWindow(TEXT("A"));
    const HWND b = device.OpenWindow(TEXT("B"));
    const int processA = ProcessOf(a);
    const int processB = ProcessOf(b);
    ASSERT_TRUE(device.Close(TEXT("A")));
    const HWND c = device.OpenWindow(TEXT("C"));
    EXPECT_EQ(ProcessOf(c), processA) << "A's program has no window left";
    const HWND d = device.OpenWindow(TEXT("D"));
    EXPECT_NE(ProcessOf(d), processA);
    EXPECT_NE(ProcessOf(d), processB) << "B's program still shows B";
    EXPECT_TRUE(IsWindow(b));
}

TEST_F(OpenCloseTest, ManyOpensAndClosesKeepTheProcessesOfTheWindowsOpenAtOnce) {
    device.OpenWindowBehind(TEXT("Stays"));
    const std::size_t before = device.Processes().size();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_NE(device.OpenWindow(TEXT("Short")), nullptr);
        ASSERT_TRUE(device.Close(TEXT("Short")));
    }
    EXPECT_EQ(device.Processes().size(), before + 1);
    EXPECT_NE(FindWindowW(nullptr, TEXT("stays")), nullptr);
}

TEST_F(OpenCloseTest, TheShellAndTheProgramAreNeverTaken) {
    // Neither the shell (its Desktop closed) nor the program under test runs user windows.
    ASSERT_TRUE(device.Close(TEXT("Desktop")));
    const HWND a = device.OpenWindow(TEXT("A"));
    EXPECT_NE(ProcessOf(a), sim::kShellProcess);
    EXPECT_NE(ProcessOf(a), sim::kProgramProcess);
}

} // namespace
