// Captions: FindWindowW's matching, GetWindowTextW's truncation, long and odd captions, and
// the difference between the caller's own windows (asked by message) and other programs'.
#include <gtest/gtest.h>

#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

class CaptionTest : public DeviceTest {};

TEST_F(CaptionTest, FindWindowComparesWholeCaptionsWithoutLetterCase) {
    HWND mail = device.OpenWindow(TEXT("Inbox - Mail"));
    HWND greek = device.OpenWindow(TEXT("\u0391\u0398\u0397\u039D\u0391")); // ΑΘΗΝΑ
    HWND hidden = device.OpenWindowBehind(TEXT("Hidden Helper"));
    ShowWindow(hidden, SW_HIDE); // another process's window: ShowWindow still applies
    struct Case {
        int line;
        const WCHAR* className;
        const WCHAR* caption;
        HWND expected;
    };
    const Case cases[] = {
        {__LINE__, nullptr, TEXT("Inbox - Mail"), mail},
        {__LINE__, nullptr, TEXT("inbox - mail"), mail},
        {__LINE__, nullptr, TEXT("INBOX - MAIL"), mail},
        {__LINE__, nullptr, TEXT("inbox"), nullptr},                        // no prefix match
        {__LINE__, nullptr, TEXT("inbox - mail "), nullptr},                // no trimming
        {__LINE__, nullptr, TEXT("\u03B1\u03B8\u03B7\u03BD\u03B1"), greek}, // αθηνα
        {__LINE__, nullptr, TEXT("desktop"), device.DesktopWindow()},
        {__LINE__, nullptr, TEXT("hidden helper"), hidden}, // hidden windows count
        {__LINE__, TEXT("SimulatedAppWindow"), TEXT("inbox - mail"), mail},
        {__LINE__, TEXT("simulatedappwindow"), TEXT("inbox - mail"), mail},
        {__LINE__, TEXT("OtherClass"), TEXT("inbox - mail"), nullptr},
        {__LINE__, TEXT("DesktopExplorerWindow"), nullptr, device.DesktopWindow()},
        {__LINE__, nullptr, TEXT(""), nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWindowW(c.className, c.caption), c.expected) << "case at line " << c.line;
}

TEST_F(CaptionTest, FindWindowTakesTheFrontmostOfEqualCaptionsAndSkipsChildren) {
    HWND back = device.OpenWindow(TEXT("Notes"));
    HWND front = device.OpenWindow(TEXT("NOTES"));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("notes")), front);
    device.Front(TEXT("Notes"));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("notes")), back);

    MessageLog::RegisterClassFor(TEXT("Parent"));
    HWND parent = CreateWindowExW(0, TEXT("Parent"), TEXT("P"), 0, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    CreateWindowExW(0, TEXT("Parent"), TEXT("Only A Child"), WS_CHILD, 0, 0, 1, 1, parent, nullptr,
                    nullptr, nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("only a child")), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("")), nullptr);
    SetWindowTextW(parent, TEXT(""));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("")), parent) << "an empty caption matches an empty one";
}

TEST_F(CaptionTest, GetWindowTextTruncatesAsWindowsDoes) {
    HWND window = device.OpenWindow(TEXT("Calendar"));
    struct Case {
        int line;
        int maxCount;
        int returned;
        const WCHAR* text; // null: the buffer is left as it was
    };
    const Case cases[] = {
        {__LINE__, 100, 8, TEXT("Calendar")}, {__LINE__, 9, 8, TEXT("Calendar")},
        {__LINE__, 8, 7, TEXT("Calenda")},    {__LINE__, 2, 1, TEXT("C")},
        {__LINE__, 1, 0, TEXT("")},           {__LINE__, 0, 0, nullptr},
        {__LINE__, -5, 0, nullptr},
    };
    for (const Case& c : cases) {
        WCHAR buffer[128];
        std::fill(std::begin(buffer), std::end(buffer), WCHAR('#'));
        EXPECT_EQ(GetWindowTextW(window, buffer, c.maxCount), c.returned)
            << "case at line " << c.line;
        if (c.text != nullptr) {
            EXPECT_EQ(WString(buffer), WString(c.text)) << "case at line " << c.line;
            EXPECT_EQ(buffer[c.maxCount], WCHAR('#')) << "wrote past maxCount, line " << c.line;
        } else {
            EXPECT_EQ(buffer[0], WCHAR('#')) << "case at line " << c.line;
        }
    }
    EXPECT_EQ(GetWindowTextLengthW(window), 8);
}

TEST_F(CaptionTest, OwnWindowsAnswerByMessageOthersFromTheStoredCaption) {
    MessageLog log;
    MessageLog::RegisterClassFor(TEXT("Own"));
    log.handler = [](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_GETTEXT) { // a control that keeps its own text
            auto* out = reinterpret_cast<WCHAR*>(lParam);
            const WString text = TEXT("edited");
            const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
            std::copy_n(text.data(), n, out);
            out[n] = 0;
            return static_cast<LRESULT>(n);
        }
        if (message == WM_GETTEXTLENGTH)
            return 6;
        return std::nullopt;
    };
    HWND own = CreateWindowExW(0, TEXT("Own"), TEXT("stored"), 0, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr);
    WCHAR buffer[32];
    EXPECT_EQ(GetWindowTextW(own, buffer, 32), 6);
    EXPECT_EQ(WString(buffer), WString(TEXT("edited")));
    EXPECT_EQ(GetWindowTextLengthW(own), 6);
    // FindWindowW looks at the stored caption, not at what the procedure answers.
    EXPECT_EQ(FindWindowW(nullptr, TEXT("stored")), own);

    HWND other = device.OpenWindow(TEXT("Their Caption"));
    log.Clear();
    EXPECT_EQ(GetWindowTextW(other, buffer, 32), 13);
    EXPECT_TRUE(log.entries.empty()) << "another program's window is not asked";
}

TEST_F(CaptionTest, ProcedureClaimingMoreThanTheBufferIsClamped) {
    MessageLog log;
    MessageLog::RegisterClassFor(TEXT("Liar"));
    log.handler = [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_GETTEXT) {
            auto* out = reinterpret_cast<WCHAR*>(lParam);
            out[0] = 'x';
            out[1] = 'y';
            out[2] = 'z';
            out[3] = 'w'; // no NUL, and an answer far beyond the buffer
            return 100000;
        }
        return std::nullopt;
    };
    HWND liar = CreateWindowExW(0, TEXT("Liar"), TEXT("x"), 0, 0, 0, 1, 1, nullptr, nullptr,
                                nullptr, nullptr);
    WCHAR buffer[4];
    EXPECT_EQ(GetWindowTextW(liar, buffer, 4), 3);
    EXPECT_EQ(buffer[3], WCHAR(0));
}

TEST_F(CaptionTest, LongAndOddCaptionsSurviveWhole) {
    WString longCaption(64000, WCHAR('a'));
    longCaption[0] = WCHAR('Q');
    longCaption[63999] = WCHAR(0xD83D); // an unpaired surrogate at the very end
    HWND window = device.OpenWindow(longCaption);
    EXPECT_EQ(GetWindowTextLengthW(window), 64000);
    std::vector<WCHAR> buffer(64001, WCHAR('#'));
    EXPECT_EQ(GetWindowTextW(window, buffer.data(), 64001), 64000);
    EXPECT_EQ(WString(buffer.data()), longCaption);
    EXPECT_EQ(GetWindowTextW(window, buffer.data(), 256), 255);
    EXPECT_EQ(WString(buffer.data()).size(), 255u);
    WString lowered = longCaption;
    lowered[0] = WCHAR('q');
    EXPECT_EQ(FindWindowW(nullptr, lowered.c_str()), window);

    // A caption cut at an embedded NUL, as a C string would be.
    WString withNul = TEXT("Before");
    withNul.push_back(0);
    withNul += TEXT("After");
    HWND cut = device.OpenWindow(withNul);
    EXPECT_EQ(GetWindowTextLengthW(cut), 6);
}

TEST_F(CaptionTest, BadHandlesGiveZeroAndAnError) {
    WCHAR buffer[8] = {'#', '#'};
    HWND gone = device.OpenWindow(TEXT("Brief"));
    device.Close(TEXT("Brief"));
    for (HWND bad : {static_cast<HWND>(nullptr), gone, reinterpret_cast<HWND>(0x7777)}) {
        SetLastError(0);
        EXPECT_EQ(GetWindowTextW(bad, buffer, 8), 0);
        EXPECT_EQ(buffer[0], WCHAR(0)) << "the buffer holds an empty string";
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_EQ(GetWindowTextLengthW(bad), 0);
        EXPECT_FALSE(SetWindowTextW(bad, TEXT("x")));
    }
    EXPECT_EQ(GetWindowTextW(device.DesktopWindow(), nullptr, 8), 0);
}

TEST_F(CaptionTest, RenameChangesWhatFindWindowSees) {
    HWND window = device.OpenWindow(TEXT("Draft"));
    EXPECT_TRUE(device.Rename(TEXT("Draft"), TEXT("Sent Items")));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("draft")), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, TEXT("sent items")), window);
    EXPECT_FALSE(device.Rename(TEXT("Draft"), TEXT("Again")));
}

} // namespace
