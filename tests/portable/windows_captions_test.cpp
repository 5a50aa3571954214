// Captions as every host's window manager treats them: FindWindowW ignores letter case and
// compares whole captions, GetWindowTextW truncates to the buffer. Runs on the simulated
// device and under Wine.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A hidden top-level window of the test's own, destroyed with the object.
class TestWindow {
  public:
    explicit TestWindow(const WCHAR* caption) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = TEXT("KipoPortableCaption");
        RegisterClassW(&wc); // fails harmlessly when a previous test registered it
        handle = CreateWindowExW(0, TEXT("KipoPortableCaption"), caption, 0, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    ~TestWindow() {
        if (handle != nullptr)
            DestroyWindow(handle);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND handle = nullptr;
};

TEST(WindowsCaptions, FindWindowIgnoresLetterCaseAndComparesWholeCaptions) {
    FreshDevice device;
    TestWindow window(TEXT("Kipo Portable Pocket Inbox"));
    ASSERT_NE(window.handle, nullptr);
    struct Case {
        int line;
        const WCHAR* caption;
        bool found;
    };
    const Case cases[] = {
        {__LINE__, TEXT("Kipo Portable Pocket Inbox"), true},
        {__LINE__, TEXT("kipo portable pocket inbox"), true},
        {__LINE__, TEXT("KIPO PORTABLE POCKET INBOX"), true},
        {__LINE__, TEXT("kIPO pORTABLE pOCKET iNBOX"), true},
        {__LINE__, TEXT("kipo portable pocket"), false},
        {__LINE__, TEXT("kipo portable pocket inbox "), false},
        {__LINE__, TEXT(" kipo portable pocket inbox"), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWindowW(nullptr, c.caption) == window.handle, c.found)
            << "case at line " << c.line;
    EXPECT_EQ(FindWindowW(TEXT("kipoportablecaption"), TEXT("kipo portable pocket inbox")),
              window.handle);
    EXPECT_EQ(FindWindowW(TEXT("KipoNoSuchClass"), TEXT("kipo portable pocket inbox")), nullptr);
}

TEST(WindowsCaptions, FindWindowFollowsCaptionChangesAndDestruction) {
    FreshDevice device;
    HWND handle = nullptr;
    {
        TestWindow window(TEXT("Kipo Portable Before"));
        handle = window.handle;
        ASSERT_TRUE(SetWindowTextW(window.handle, TEXT("Kipo Portable After")));
        EXPECT_EQ(FindWindowW(nullptr, TEXT("kipo portable before")), nullptr);
        EXPECT_EQ(FindWindowW(nullptr, TEXT("kipo portable after")), window.handle);
    }
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(FindWindowW(nullptr, TEXT("kipo portable after")), nullptr);
}

TEST(WindowsCaptions, GetWindowTextTruncatesToTheBuffer) {
    FreshDevice device;
    TestWindow window(TEXT("Calendar"));
    struct Case {
        int line;
        int maxCount;
        int returned;
        const WCHAR* text;
    };
    const Case cases[] = {
        {__LINE__, 64, 8, TEXT("Calendar")}, {__LINE__, 9, 8, TEXT("Calendar")},
        {__LINE__, 8, 7, TEXT("Calenda")},   {__LINE__, 3, 2, TEXT("Ca")},
        {__LINE__, 1, 0, TEXT("")},
    };
    for (const Case& c : cases) {
        WCHAR buffer[64];
        for (WCHAR& unit : buffer)
            unit = static_cast<WCHAR>('#');
        EXPECT_EQ(GetWindowTextW(window.handle, buffer, c.maxCount), c.returned)
            << "case at line " << c.line;
        EXPECT_EQ(WString(buffer), WString(c.text)) << "case at line " << c.line;
        if (c.maxCount < 64) {
            EXPECT_EQ(buffer[c.maxCount], static_cast<WCHAR>('#'))
                << "wrote past the buffer, line " << c.line;
        }
    }
    WCHAR untouched[4] = {'#', '#', '#', 0};
    EXPECT_EQ(GetWindowTextW(window.handle, untouched, 0), 0);
    EXPECT_EQ(GetWindowTextLengthW(window.handle), 8);
}

TEST(WindowsCaptions, LongCaptionsComeBackWhole) {
    FreshDevice device;
    WString caption(4000, static_cast<WCHAR>('k'));
    caption[0] = static_cast<WCHAR>('K');
    TestWindow window(caption.c_str());
    EXPECT_EQ(GetWindowTextLengthW(window.handle), 4000);
    std::vector<WCHAR> buffer(4001);
    EXPECT_EQ(GetWindowTextW(window.handle, buffer.data(), 4001), 4000);
    EXPECT_EQ(WString(buffer.data()), caption);
    EXPECT_EQ(GetWindowTextW(window.handle, buffer.data(), 256), 255);
    WString lowered = caption;
    lowered[0] = static_cast<WCHAR>('k');
    EXPECT_EQ(FindWindowW(nullptr, lowered.c_str()), window.handle);
}

TEST(WindowsCaptions, GoneWindowsHaveNoCaption) {
    FreshDevice device;
    HWND handle = nullptr;
    {
        TestWindow window(TEXT("Kipo Portable Gone"));
        handle = window.handle;
    }
    WCHAR buffer[8] = {'#', 0};
    SetLastError(0);
    EXPECT_EQ(GetWindowTextW(handle, buffer, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_EQ(GetWindowTextLengthW(handle), 0);
}

} // namespace
