// The command line's one number: trimming, the wcstol-like conversion and its limits.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/wide_number.h"
#include "framework/app_name.h"

namespace {

struct IntervalCase {
    int line;
    const WCHAR* commandLine;
    bool given; // false: the interval stays as it was
    LONG interval;
};

const IntervalCase kIntervalCases[] = {
    {__LINE__, TEXT(""), false, 0},
    {__LINE__, TEXT("   \t\r\n\v\f "), false, 0},
    {__LINE__, TEXT("\x3000\x00A0"), false, 0}, // wide blanks count as space too
    {__LINE__, TEXT("750"), true, 750},
    {__LINE__, TEXT("  750 \t"), true, 750},
    {__LINE__, TEXT("100abc"), true, 100},
    {__LINE__, TEXT("100 200"), true, 100},
    {__LINE__, TEXT("abc"), true, 0},
    {__LINE__, TEXT("-250"), true, -250},
    {__LINE__, TEXT("+40"), true, 40},
    {__LINE__, TEXT("-"), true, 0},
    {__LINE__, TEXT("+-5"), true, 0},
    {__LINE__, TEXT("0x10"), true, 0},
    {__LINE__, TEXT("007"), true, 7},
    {__LINE__, TEXT("2147483647"), true, 2147483647},
    {__LINE__, TEXT("2147483648"), true, 2147483647},
    {__LINE__, TEXT("99999999999999999999999999"), true, 2147483647},
    {__LINE__, TEXT("-2147483648"), true, INT32_MIN},
    {__LINE__, TEXT("-2147483649"), true, INT32_MIN},
    {__LINE__, TEXT("-99999999999999999999999999"), true, INT32_MIN},
    {__LINE__, TEXT("\x0661\x0662"), true, 0}, // digits of other scripts are not taken
    {__LINE__, TEXT("12\xD800"), true, 12},
};

TEST(CommandLineTest, IntervalForms) {
    for (const IntervalCase& c : kIntervalCases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        LONG interval = 1500;
        EXPECT_EQ(CommandLineInterval(c.commandLine, interval), c.given);
        EXPECT_EQ(interval, c.given ? c.interval : 1500);
    }
}

TEST(CommandLineTest, NullCommandLineLeavesTheInterval) {
    LONG interval = 1500;
    EXPECT_FALSE(CommandLineInterval(nullptr, interval));
    EXPECT_EQ(interval, 1500);
}

TEST(CommandLineTest, ConversionReportsWhereItStopped) {
    const WCHAR* text = TEXT("  -42ms");
    const WCHAR* end = nullptr;
    EXPECT_EQ(WideToLong(text, &end), -42);
    EXPECT_EQ(end, text + 5);
    const WCHAR* letters = TEXT("ms");
    EXPECT_EQ(WideToLong(letters, &end), 0);
    EXPECT_EQ(end, letters);
    EXPECT_EQ(WideToLong(nullptr, &end), 0);
    EXPECT_EQ(end, nullptr);
}

TEST(CommandLineTest, LongCommandLineOfDigitsClamps) {
    WString digits(100000, u'9');
    LONG interval = 0;
    EXPECT_TRUE(CommandLineInterval(digits.c_str(), interval));
    EXPECT_EQ(interval, 2147483647);
}

struct NameCase {
    int line;
    const WCHAR* path;
    const WCHAR* name;
};

const NameCase kNameCases[] = {
    {__LINE__, TEXT("\\Program Files\\Kipo\\Kipo.exe"), TEXT("Kipo")},
    {__LINE__, TEXT("\\Windows\\Switch.EXE"), TEXT("Switch")},
    {__LINE__, TEXT("Kipo"), TEXT("Kipo")},
    {__LINE__, TEXT("C:Kipo.exe"), TEXT("Kipo")},
    {__LINE__, TEXT("/storage/kipo.old.exe"), TEXT("kipo.old")},
    // The cut at the last "." comes first, as for the registry key's name.
    {__LINE__, TEXT("\\My.Programs\\Kipo"), TEXT("My")},
    {__LINE__, TEXT(""), TEXT("")},
};

TEST(ModuleBaseNameTest, NameFromPath) {
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        EXPECT_EQ(ModuleBaseName(c.path), WString(c.name));
    }
}

} // namespace
