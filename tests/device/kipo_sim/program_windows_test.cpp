// The program's windows as kipo-sim's timeline follows them: the list it remembers between
// looks must never hide a window that opened, closed, moved in front, was renamed, hidden or
// shown, or the main window changing, even when the number of windows stays the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "tools/kipo-sim/program_windows.h"

using namespace kiposim;

namespace {

constexpr int kProgram = sim::kProgramProcess;

// The look as text: "caption" for a shown window, "(caption)" for a hidden one, front first.
std::string Text(const std::vector<SeenWindow>& windows) {
    std::string text;
    for (const SeenWindow& w : windows) {
        const std::string caption = ToUtf8(w.caption);
        text += (text.empty() ? "" : " ") + (w.visible ? caption : "(" + caption + ")");
    }
    return text;
}

class ProgramWindowsTest : public ::testing::Test {
  protected:
    // Looks as the runner does, with a remembered list that lives from look to look.
    std::string Look(HWND mainWindow) {
        windows_.Read(device.windows, kProgram, mainWindow, seen_);
        // The list it gives must be what a look at every window gives.
        std::vector<SeenWindow> full;
        for (HWND handle : device.windows.TopLevel()) {
            const sim::Window* w = device.windows.Get(handle);
            if (w->process == kProgram && handle != mainWindow)
                full.push_back({handle, w->caption, w->Visible()});
        }
        EXPECT_EQ(seen_, full);
        return Text(seen_);
    }
    HWND Open(const char16_t* caption) { return device.OpenWindow(caption, kProgram); }

    sim::Device device;
    ProgramWindows windows_;
    std::vector<SeenWindow> seen_;
};

TEST_F(ProgramWindowsTest, OpeningAndClosingShow) {
    const HWND main = Open(u"Kipo");
    device.OpenWindow(u"Notes"); // another program's
    EXPECT_EQ(Look(main), "");
    Open(u"Kipo Settings");
    EXPECT_EQ(Look(main), "Kipo Settings");
    Open(u"About Kipo");
    EXPECT_EQ(Look(main), "About Kipo Kipo Settings");
    ASSERT_TRUE(device.Close(u"About Kipo"));
    EXPECT_EQ(Look(main), "Kipo Settings");
}

TEST_F(ProgramWindowsTest, OneClosingAndAnotherOpeningBetweenLooksShow) {
    const HWND main = Open(u"Kipo");
    Open(u"About Kipo");
    EXPECT_EQ(Look(main), "About Kipo");
    // As many windows as before, but not the same ones.
    ASSERT_TRUE(device.Close(u"About Kipo"));
    Open(u"Window Found");
    EXPECT_EQ(Look(main), "Window Found");
}

TEST_F(ProgramWindowsTest, TheBottomWindowClosingShows) {
    const HWND main = Open(u"Kipo");
    const HWND found = Open(u"Window Found");
    device.windows.SendToBottom(found);
    EXPECT_EQ(Look(main), "Window Found");
    // The list loses its last entry: what is left of it is what it began with.
    ASSERT_TRUE(device.Close(u"Window Found"));
    EXPECT_EQ(Look(main), "");
}

TEST_F(ProgramWindowsTest, CaptionsVisibilityAndOrderAreReadAtEveryLook) {
    const HWND main = Open(u"Kipo");
    const HWND settings = Open(u"Kipo Settings");
    Open(u"Window Found");
    EXPECT_EQ(Look(main), "Window Found Kipo Settings");
    // Nothing opens or closes: only what the windows say changes.
    ShowWindow(settings, SW_HIDE);
    EXPECT_EQ(Look(main), "Window Found (Kipo Settings)");
    ASSERT_TRUE(device.Rename(u"Window Found", u"Window Found again"));
    EXPECT_EQ(Look(main), "Window Found again (Kipo Settings)");
    ShowWindow(settings, SW_SHOW);
    ASSERT_TRUE(device.Front(u"Kipo Settings"));
    EXPECT_EQ(Look(main), "Kipo Settings Window Found again");
}

TEST_F(ProgramWindowsTest, TheMainWindowIsLeftOutWhicheverItIs) {
    const HWND first = Open(u"Kipo");
    EXPECT_EQ(Look(nullptr), "Kipo"); // before the frame is known
    EXPECT_EQ(Look(first), "");
    // A second frame (the program started again): the first is now one of the others.
    const HWND second = Open(u"Kipo 2");
    EXPECT_EQ(Look(first), "Kipo 2");
    EXPECT_EQ(Look(second), "Kipo");
}

TEST_F(ProgramWindowsTest, MoreWindowsThanItRemembersAreStillAllSeen) {
    const HWND main = Open(u"Kipo");
    std::string expected;
    for (std::size_t i = 0; i < ProgramWindows::kCapacity + 2; ++i) {
        const std::string caption = "w" + std::to_string(i);
        Open(FromUtf8(caption).c_str());
        expected = caption + (expected.empty() ? "" : " ") + expected;
    }
    EXPECT_EQ(Look(main), expected);
    ASSERT_TRUE(device.Close(u"w0"));
    expected.resize(expected.size() - 3);
    EXPECT_EQ(Look(main), expected);
}

} // namespace
