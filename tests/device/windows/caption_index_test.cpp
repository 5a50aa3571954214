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

TEST_F(CaptionIndexTest, TheSameNameAskedAgainFollowsEveryChangeBetween) {
    // A program asks for the same name every tick; whatever happens between two questions,
    // the answer is the one a fresh search would give.
    const WCHAR* name = TEXT("mail");
    EXPECT_EQ(FindWindowW(nullptr, name), nullptr);
    HWND back = device.OpenWindowBehind(TEXT("Mail"));
    EXPECT_EQ(FindWindowW(nullptr, name), back) << "opened";
    HWND front = device.OpenWindow(TEXT("MAIL"));
    EXPECT_EQ(FindWindowW(nullptr, name), front) << "a second one in front";
    ASSERT_TRUE(device.Front(TEXT("Mail")));
    EXPECT_EQ(FindWindowW(nullptr, name), back) << "brought to the front";
    SetWindowPos(back, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(FindWindowW(nullptr, name), front) << "sent to the bottom";
    SetWindowTextW(front, TEXT("Inbox"));
    EXPECT_EQ(FindWindowW(nullptr, name), back) << "renamed";
    SetWindowTextW(front, TEXT("mAIL"));
    EXPECT_EQ(FindWindowW(nullptr, name), front) << "renamed back, still in front";
    ASSERT_TRUE(device.Close(TEXT("mAIL")));
    EXPECT_EQ(FindWindowW(nullptr, name), back) << "closed";
    WCHAR buffer[] = TEXT("mail");
    EXPECT_EQ(FindWindowW(nullptr, buffer), back);
    buffer[3] = 'e';
    EXPECT_EQ(FindWindowW(nullptr, buffer), nullptr) << "the same buffer, another name";
    buffer[3] = 0;
    EXPECT_EQ(FindWindowW(nullptr, buffer), nullptr) << "a shorter name";
    ASSERT_TRUE(device.Close(TEXT("Mail")));
    EXPECT_EQ(FindWindowW(nullptr, name), nullptr) << "the last one closed";
    HWND hidden = CreateWindowExW(0, TEXT("static"), TEXT("Mail"), 0, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(FindWindowW(nullptr, name), hidden) << "made hidden, with nothing else moving";
}

} // namespace
