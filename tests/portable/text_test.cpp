// The lower-case mapping and the white-space class, checked against the same expectations on
// every host: under Wine these are Windows' own CharLowerW/CharLowerBuffW, so the simulated
// device's table is held to what Windows does. The expected mapping of every code point is the
// generator's flat list, not the device's compact table.
#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"
#include "tests/support/units.h"

namespace {

struct LowerRow {
    int line;
    unsigned upper;
    unsigned lower;
};

// Boundaries of every range the mapping promises, and the characters inside them that have no
// lower-case form (they must come back unchanged).
const LowerRow kLowerRows[] = {
    {__LINE__, 'A', 'a'},
    {__LINE__, 'Z', 'z'},
    {__LINE__, '@', '@'},
    {__LINE__, '[', '['},
    {__LINE__, 'a', 'a'},
    {__LINE__, '0', '0'},
    {__LINE__, 0x00B5, 0x00B5}, // micro sign
    {__LINE__, 0x00C0, 0x00E0},
    {__LINE__, 0x00D6, 0x00F6},
    {__LINE__, 0x00D7, 0x00D7}, // multiplication sign
    {__LINE__, 0x00D8, 0x00F8},
    {__LINE__, 0x00DE, 0x00FE},
    {__LINE__, 0x00DF, 0x00DF}, // sharp s
    {__LINE__, 0x00FF, 0x00FF},
    {__LINE__, 0x0100, 0x0101},
    {__LINE__, 0x0101, 0x0101},
    {__LINE__, 0x012E, 0x012F},
    {__LINE__, 0x0130, 0x0130}, // capital I with dot above: Windows keeps it
    {__LINE__, 0x0131, 0x0131}, // dotless i
    {__LINE__, 0x0132, 0x0133},
    {__LINE__, 0x0136, 0x0137},
    {__LINE__, 0x0138, 0x0138}, // kra
    {__LINE__, 0x0139, 0x013A},
    {__LINE__, 0x0147, 0x0148},
    {__LINE__, 0x0149, 0x0149},
    {__LINE__, 0x014A, 0x014B},
    {__LINE__, 0x0176, 0x0177},
    {__LINE__, 0x0178, 0x00FF}, // capital Y with diaeresis
    {__LINE__, 0x0179, 0x017A},
    {__LINE__, 0x017D, 0x017E},
    {__LINE__, 0x017F, 0x017F}, // long s
    {__LINE__, 0x0370, 0x0371},
    {__LINE__, 0x0374, 0x0374},
    {__LINE__, 0x0376, 0x0377},
    {__LINE__, 0x037F, 0x03F3},
    {__LINE__, 0x0386, 0x03AC},
    {__LINE__, 0x0388, 0x03AD},
    {__LINE__, 0x038A, 0x03AF},
    {__LINE__, 0x038C, 0x03CC},
    {__LINE__, 0x038E, 0x03CD},
    {__LINE__, 0x038F, 0x03CE},
    {__LINE__, 0x0391, 0x03B1},
    {__LINE__, 0x03A1, 0x03C1},
    {__LINE__, 0x03A3, 0x03C3},
    {__LINE__, 0x03AB, 0x03CB},
    {__LINE__, 0x03C2, 0x03C2}, // final sigma
    {__LINE__, 0x03C3, 0x03C3},
    {__LINE__, 0x03D8, 0x03D9},
    {__LINE__, 0x03CF, 0x03D7},
    {__LINE__, 0x03EE, 0x03EF},
    {__LINE__, 0x03F7, 0x03F8},
    {__LINE__, 0x03F9, 0x03F2},
    {__LINE__, 0x03FA, 0x03FB},
    {__LINE__, 0x03FD, 0x037B},
    {__LINE__, 0x03FF, 0x037D},
    {__LINE__, 0x04C0, 0x04CF},
    {__LINE__, 0x0400, 0x0450},
    {__LINE__, 0x040F, 0x045F},
    {__LINE__, 0x0410, 0x0430},
    {__LINE__, 0x042F, 0x044F},
    {__LINE__, 0x0430, 0x0430},
    {__LINE__, 0x0450, 0x0450},
    {__LINE__, 0x0460, 0x0461},
    {__LINE__, 0x0480, 0x0481},
    {__LINE__, 0x0482, 0x0482}, // thousands sign
    {__LINE__, 0x048A, 0x048B},
    {__LINE__, 0x04BE, 0x04BF},
    {__LINE__, 0x04C1, 0x04C2},
    {__LINE__, 0x04CD, 0x04CE},
    {__LINE__, 0x04D0, 0x04D1},
    {__LINE__, 0x04FE, 0x04FF},
    {__LINE__, 0x4E2D, 0x4E2D}, // a CJK ideograph
    // Beyond the ranges above.
    {__LINE__, 0x018F, 0x0259}, // Azerbaijani schwa
    {__LINE__, 0x0218, 0x0219}, // Romanian S with comma below
    {__LINE__, 0x0531, 0x0561}, // Armenian
    {__LINE__, 0x10A0, 0x2D00}, // Georgian Asomtavruli
    {__LINE__, 0x1C90, 0x10D0}, // Georgian Mtavruli
    {__LINE__, 0x13A0, 0xAB70}, // Cherokee
    {__LINE__, 0x1EA0, 0x1EA1}, // Vietnamese A with dot below
    {__LINE__, 0x1EF8, 0x1EF9},
    {__LINE__, 0x1F08, 0x1F00}, // Greek Extended
    {__LINE__, 0x1F88, 0x1F80}, // titlecase with prosgegrammeni: its lower case maps back
    {__LINE__, 0x1FBC, 0x1FB3},
    {__LINE__, 0x2160, 0x2170}, // Roman numeral one
    {__LINE__, 0x24B6, 0x24D0}, // circled A
    {__LINE__, 0x2C00, 0x2C30}, // Glagolitic
    {__LINE__, 0xA640, 0xA641},
    {__LINE__, 0xA7C0, 0xA7C1},
    {__LINE__, 0xFF21, 0xFF41},
    {__LINE__, 0xFF3A, 0xFF5A}, // full-width A and Z
    {__LINE__, 0xFF41, 0xFF41},
    // Letters Unicode lowers and Windows keeps (their lower case does not map back to them).
    {__LINE__, 0x01C4, 0x01C6}, // capital DZ with caron lowers ...
    {__LINE__, 0x01C5, 0x01C5}, // ... its titlecase Dz with caron does not
    {__LINE__, 0x01C8, 0x01C8},
    {__LINE__, 0x01CB, 0x01CB},
    {__LINE__, 0x01F2, 0x01F2},
    {__LINE__, 0x03F4, 0x03F4}, // capital theta symbol
    {__LINE__, 0x1E9E, 0x1E9E}, // capital sharp s
    {__LINE__, 0x2126, 0x2126}, // ohm sign
    {__LINE__, 0x212A, 0x212A}, // kelvin sign
    {__LINE__, 0x212B, 0x212B}, // angstrom sign
    {__LINE__, 0xD801, 0xD801}, // a surrogate on its own
};

// Every code point's lower case as Windows maps it, from the generator's list.
std::vector<char32_t> ExpectedLowerCase() {
    struct Row {
        char32_t code;
        char32_t lower;
    };
    static const Row kRows[] = {
#include "tests/portable/lower_case_expected.inc"
    };
    std::vector<char32_t> lower(0x110000);
    for (char32_t c = 0; c < lower.size(); ++c)
        lower[c] = c;
    for (const Row& row : kRows)
        lower[row.code] = row.lower;
    return lower;
}

// Collects the code points a host maps otherwise than expected, to report the first few.
class Mismatches {
  public:
    void Check(char32_t code, const char* form, unsigned got, unsigned expected) {
        if (got == expected)
            return;
        if (++count_ <= 12)
            text_ << "\n  U+" << Hex(code) << " " << form << ": got " << Hex(got) << ", expected "
                  << Hex(expected);
    }
    std::string Report() const {
        return count_ == 0 ? std::string()
                           : std::to_string(count_) + " differences, the first:" + text_.str();
    }

  private:
    static std::string Hex(unsigned value) {
        std::ostringstream text;
        text << std::uppercase << std::hex << std::setw(4) << std::setfill('0') << value;
        return text.str();
    }
    int count_ = 0;
    std::ostringstream text_;
};

void SplitToPair(char32_t code, WCHAR* pair) {
    pair[0] = static_cast<WCHAR>(0xD800 + ((code - 0x10000) >> 10));
    pair[1] = static_cast<WCHAR>(0xDC00 + ((code - 0x10000) & 0x3FF));
}

unsigned JoinPair(const WCHAR* pair) {
    return 0x10000 + ((static_cast<unsigned>(pair[0]) - 0xD800) << 10) +
           (static_cast<unsigned>(pair[1]) - 0xDC00);
}

struct SpaceRow {
    int line;
    unsigned unit;
    bool space;
};

const SpaceRow kSpaceRows[] = {
    {__LINE__, 0x20, true},    {__LINE__, 0x09, true},    {__LINE__, 0x0A, true},
    {__LINE__, 0x0B, true},    {__LINE__, 0x0C, true},    {__LINE__, 0x0D, true},
    {__LINE__, 0xA0, true},    {__LINE__, 0x3000, true},  {__LINE__, 0x2000, true},
    {__LINE__, 0x200A, true},  {__LINE__, 0x2028, true},  {__LINE__, 0x2029, true},
    {__LINE__, 0x00, false},   {__LINE__, 0x08, false},   {__LINE__, 0x0E, false},
    {__LINE__, 0x1F, false},   {__LINE__, 'a', false},    {__LINE__, '_', false},
    {__LINE__, 0x200B, false}, {__LINE__, 0xFEFF, false}, {__LINE__, 0xFFFF, false},
};

} // namespace

TEST(LowerCaseMapping, EachUnitAsWindowsMapsIt) {
    FreshDevice device;
    for (const LowerRow& row : kLowerRows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        WCHAR buffer[2] = {static_cast<WCHAR>(row.upper), 0};
        EXPECT_EQ(CharLowerBuffW(buffer, 1), 1u);
        EXPECT_EQ(static_cast<unsigned>(buffer[0]), row.lower);

        WCHAR text[2] = {static_cast<WCHAR>(row.upper), 0};
        EXPECT_EQ(CharLowerW(text), text);
        EXPECT_EQ(static_cast<unsigned>(text[0]), row.lower);

        // One character packed into the pointer comes back converted, in the pointer.
        LPWSTR packed = CharLowerW(MAKEINTRESOURCEW(row.upper));
        EXPECT_EQ(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(packed)), row.lower);
    }
}

TEST(LowerCaseMapping, EveryCodeUnit) {
    FreshDevice device;
    const std::vector<char32_t> expected = ExpectedLowerCase();
    Mismatches mismatches;
    for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
        WCHAR buffer[2] = {static_cast<WCHAR>(unit), 0};
        CharLowerBuffW(buffer, 1);
        mismatches.Check(unit, "CharLowerBuffW", buffer[0], expected[unit]);
        WCHAR text[2] = {static_cast<WCHAR>(unit), 0};
        CharLowerW(text);
        mismatches.Check(unit, "CharLowerW", text[0], expected[unit]);
        LPWSTR packed = CharLowerW(MAKEINTRESOURCEW(unit));
        mismatches.Check(unit, "CharLowerW packed",
                         static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(packed)),
                         expected[unit]);
    }
    EXPECT_EQ(mismatches.Report(), "");
}

// A high and a low surrogate side by side write one letter beyond the 65,536 units, lowered as
// that letter.
TEST(LowerCaseMapping, EveryLetterWrittenAsASurrogatePair) {
    FreshDevice device;
    const std::vector<char32_t> expected = ExpectedLowerCase();
    Mismatches mismatches;
    for (char32_t code = 0x10000; code < expected.size(); ++code) {
        WCHAR buffer[3] = {0, 0, 0};
        SplitToPair(code, buffer);
        CharLowerBuffW(buffer, 2);
        mismatches.Check(code, "CharLowerBuffW", JoinPair(buffer), expected[code]);
        if (expected[code] == code && code % 97 != 0)
            continue; // CharLowerW on the letters and a sample of the rest
        SplitToPair(code, buffer);
        CharLowerW(buffer);
        mismatches.Check(code, "CharLowerW", JoinPair(buffer), expected[code]);
    }
    EXPECT_EQ(mismatches.Report(), "");
}

// A surrogate that is not half of a pair has no case and stays; a pair cut by the buffer's
// length is not lowered.
TEST(LowerCaseMapping, SurrogatesOutsideAPair) {
    FreshDevice device;
    struct Row {
        int line;
        WString in;
        DWORD length; // CharLowerBuffW's; 0 for CharLowerW on the NUL-terminated text
        WString out;
    };
    const Row rows[] = {
        {__LINE__, Units({0xD801, 0xDC00}), 2, Units({0xD801, 0xDC28})},
        {__LINE__, Units({0xD801, 0xDC00, 0}), 0, Units({0xD801, 0xDC28, 0})},
        {__LINE__, Units({0xD801, 0xDC00}), 1, Units({0xD801, 0xDC00})},
        {__LINE__, Units({0xD801, 0, 0xDC00}), 0, Units({0xD801, 0, 0xDC00})},
        {__LINE__, Units({0xDC00, 0xD801}), 2, Units({0xDC00, 0xD801})},
        {__LINE__, Units({'A', 0xDC00, 'B'}), 3, Units({'a', 0xDC00, 'b'})},
        {__LINE__, Units({'A', 0xD801, 'B'}), 3, Units({'a', 0xD801, 'b'})},
        {__LINE__, Units({0xD801, 0xD801, 0xDC00}), 3, Units({0xD801, 0xD801, 0xDC28})},
        {__LINE__, Units({0xD801, 0xDC00, 0xDC00}), 3, Units({0xD801, 0xDC28, 0xDC00})},
        {__LINE__, Units({0xD801, 0xDC00, 0xD801, 0xDC01}), 4,
         Units({0xD801, 0xDC28, 0xD801, 0xDC29})},
        {__LINE__, Units({0xD83C, 0xDD30}), 2, Units({0xD83C, 0xDD30})}, // squared A: no case
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        WString text = row.in;
        if (row.length == 0)
            EXPECT_EQ(CharLowerW(text.data()), text.data());
        else
            EXPECT_EQ(CharLowerBuffW(text.data(), row.length), row.length);
        EXPECT_EQ(text, row.out);
    }
}

TEST(LowerCaseMapping, WholeStringsAndTheirEnds) {
    FreshDevice device;
    // CharLowerW stops at the first NUL; CharLowerBuffW converts exactly the length given.
    WCHAR text[] = {'A', 'B', 0, 'C', 'D'};
    CharLowerW(text);
    EXPECT_EQ(Units({text[0], text[1], text[2], text[3], text[4]}), Units({'a', 'b', 0, 'C', 'D'}));
    WCHAR buffer[] = {'A', 0, 'B', 'C', 'D'};
    EXPECT_EQ(CharLowerBuffW(buffer, 3), 3u);
    EXPECT_EQ(Units({buffer[0], buffer[1], buffer[2], buffer[3], buffer[4]}),
              Units({'a', 0, 'b', 'C', 'D'}));
    EXPECT_EQ(CharLowerBuffW(buffer, 0), 0u);

    EXPECT_EQ(LowerCopy(TEXT("Bluetooth Console")), WString(TEXT("bluetooth console")));
    EXPECT_EQ(LowerCopy(Units({0x0412, 0x0410, 'X', 0x00C9, 0})),
              Units({0x0432, 0x0430, 'x', 0x00E9, 0}));
    EXPECT_EQ(LowerCopy(WString()), WString());
}

TEST(WhiteSpaceClass, EachUnit) {
    FreshDevice device;
    for (const SpaceRow& row : kSpaceRows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        EXPECT_EQ(IsSpaceW(static_cast<WCHAR>(row.unit)), row.space);
    }
}

TEST(WhiteSpaceClass, TrimRemovesOnlyTheEnds) {
    FreshDevice device;
    struct Row {
        int line;
        WString in;
        WString out;
    };
    const Row rows[] = {
        {__LINE__, TEXT(""), TEXT("")},
        {__LINE__, TEXT(" \t\r\n"), TEXT("")},
        {__LINE__, TEXT("  a b  "), TEXT("a b")},
        {__LINE__, TEXT("a;  b"), TEXT("a;  b")},
        {__LINE__, Units({0x3000, 'x', 0xA0}), TEXT("x")},
        {__LINE__, Units({0x200B, 'x', 0x200B}), Units({0x200B, 'x', 0x200B})},
        {__LINE__, Units({' ', 0, ' '}), Units({0})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        EXPECT_EQ(TrimCopy(row.in), row.out);
    }
}
