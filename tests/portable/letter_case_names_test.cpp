// Window captions and registry names compared without regard to letter case beyond ASCII, as
// Windows compares them: one code unit at a time with CharLowerW's mapping, so a letter written
// as a surrogate pair keeps its case there (measured under Wine 8.0). Runs on the simulated
// device and under Wine.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"
#include "tests/support/units.h"

namespace {

struct NameRow {
    int line;
    WString stored;
    WString asked;
    bool same;
};

// Pairs of names, the second written in other letter case (or not a case form at all).
const NameRow kNames[] = {
    {__LINE__, Units({0x1EA0, 0x1EB8, 'N'}), Units({0x1EA1, 0x1EB9, 'n'}), true}, // Vietnamese
    {__LINE__, Units({0x0218, 'M', 'S'}), Units({0x0219, 'm', 's'}), true},       // Romanian
    {__LINE__, Units({0x018F, 'L'}), Units({0x0259, 'l'}), true},                 // Azerbaijani
    {__LINE__, Units({0xFF2B, 0xFF29, 0xFF30, 0xFF2F}), Units({0xFF4B, 0xFF49, 0xFF50, 0xFF4F}),
     true},                                                             // full-width
    {__LINE__, Units({0x2160, 0x216B}), Units({0x2170, 0x217B}), true}, // Roman numerals
    {__LINE__, Units({0x24B6, 0x0531, 0x10A0, 0x13A0}), Units({0x24D0, 0x0561, 0x2D00, 0xAB70}),
     true}, // circled, Armenian, Georgian, Cherokee
    {__LINE__, Units({0x1F08, 0x1F88}), Units({0x1F00, 0x1F80}), true}, // Greek Extended
    {__LINE__, Units({0x0130}), Units({'i'}), false},                   // Windows keeps them
    {__LINE__, Units({0x212A}), Units({'k'}), false},
    {__LINE__, Units({0x01C5}), Units({0x01C6}), false},
    // Surrogate pairs are two units here, neither of which has a case.
    {__LINE__, Units({'X', 0xD801, 0xDC00}), Units({'x', 0xD801, 0xDC00}), true},
    {__LINE__, Units({'X', 0xD801, 0xDC00}), Units({'x', 0xD801, 0xDC28}), false},
};

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TEST(LetterCaseInNames, FindWindowCaptions) {
    FreshDevice device;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = TEXT("KipoPortableLetterCase");
    RegisterClassW(&wc); // fails harmlessly when a previous test registered it
    for (const NameRow& row : kNames) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        const WString caption = TEXT("Kipo ") + row.stored;
        const WString asked = TEXT("kipo ") + row.asked;
        HWND window = CreateWindowExW(0, wc.lpszClassName, caption.c_str(), 0, 0, 0, 10, 10,
                                      nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(FindWindowW(wc.lpszClassName, caption.c_str()), window);
        EXPECT_EQ(FindWindowW(wc.lpszClassName, asked.c_str()) == window, row.same);
        EXPECT_EQ(FindWindowW(nullptr, asked.c_str()) == window, row.same); // any class
        DestroyWindow(window);
    }
}

TEST(LetterCaseInNames, RegistryKeysAndValues) {
    for (const NameRow& row : kNames) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        const WString stored = TEXT("Software\\Kipo\\") + row.stored;
        const WString asked = TEXT("Software\\Kipo\\") + row.asked;
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, stored.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD value = 7;
        EXPECT_EQ(RegSetValueExW(key, row.stored.c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE*>(&value), sizeof value),
                  ERROR_SUCCESS);
        DWORD read = 0;
        DWORD size = sizeof read;
        EXPECT_EQ(RegQueryValueExW(key, row.asked.c_str(), nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&read), &size) == ERROR_SUCCESS,
                  row.same);
        RegCloseKey(key);

        HKEY other = nullptr;
        const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, asked.c_str(), 0, KEY_READ, &other);
        EXPECT_EQ(opened == ERROR_SUCCESS, row.same);
        if (opened == ERROR_SUCCESS)
            RegCloseKey(other);
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}
