// FindWindowW looks windows up by their folded caption: what the look-up keeps beside each
// window must follow every change of caption, z-order and life, at every caption length.
#include <gtest/gtest.h>

#include "tests/support/device_test.h"

namespace {

class CaptionIndexTest : public DeviceTest {};

TEST_F(CaptionIndexTest, ClosingOneOfEqualCaptionsLeavesTheOther) {
    HWND first = device.OpenWindow(TEXT("Notes"));
    device.OpenWindow(TEXT("nOTES"));
    ASSERT_TRUE(device.Close(TEXT("nOTES")));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("NOTES")), first);
    ASSERT_TRUE(device.Close(TEXT("Notes")));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("notes")), nullptr);
}

TEST_F(CaptionIndexTest, RenamesMoveAWindowBetweenShortAndLongCaptions) {
    // Lengths on both sides of the longest caption length the look-up counts one by one.
    const WString longA(255, WCHAR('A'));
    const WString longB(300, WCHAR('B'));
    HWND a = device.OpenWindow(longA);
    HWND b = device.OpenWindow(longB);
    const WString lowerA(255, WCHAR('a'));
    const WString lowerB(300, WCHAR('b'));
    EXPECT_EQ(FindWindowW(nullptr, lowerA.c_str()), a);
    EXPECT_EQ(FindWindowW(nullptr, lowerB.c_str()), b);
    ASSERT_TRUE(device.Rename(longB, TEXT("Short")));
    EXPECT_EQ(FindWindowW(nullptr, lowerB.c_str()), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("short")), b);
    EXPECT_EQ(FindWindowW(nullptr, lowerA.c_str()), a) << "the other long caption is still there";
    ASSERT_TRUE(device.Rename(longA, TEXT("SHORT")));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("Short")), b) << "the front-most of the two";
    EXPECT_EQ(FindWindowW(nullptr, lowerA.c_str()), nullptr);
}

TEST_F(CaptionIndexTest, ACaptionSetWithSetWindowTextIsFoundAndTheOldOneIsNot) {
    HWND window = device.OpenWindow(TEXT("\u0391\u0398\u0397\u039D\u0391")); // ΑΘΗΝΑ
    EXPECT_EQ(FindWindowW(nullptr, TEXT("\u03B1\u03B8\u03B7\u03BD\u03B1")), window);
    SetWindowTextW(window, TEXT("Calendar"));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("\u03B1\u03B8\u03B7\u03BD\u03B1")), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("cALENDAR")), window);
    // A caption of the same length but other letters is no match.
    EXPECT_EQ(FindWindowW(nullptr, TEXT("calendas")), nullptr);
}

} // namespace
