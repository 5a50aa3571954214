// The resource tables as the program and the Windows build see them: strings through
// LoadStringW, the combo items and icon art, and the generated .rc script and icon files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/resources.h"
#include "res/rc_writer.h"
#include "res/resource_ids.h"
#include "tests/support/device_test.h"

namespace {

using ResourcesTest = DeviceTest;

struct StringCase {
    int line;
    UINT id;
    int size;
    int result;
    const WCHAR* text;
};

TEST_F(ResourcesTest, LoadStringCopiesWhatFitsAndEndsIt) {
    const WString frame = TEXT("Kipo\n\nKipo\n\n\nKipo.Document\nKipo Document");
    const int whole = static_cast<int>(frame.size());
    const StringCase cases[] = {
        {__LINE__, IDR_MAINFRAME, 100, whole, frame.c_str()},
        {__LINE__, IDR_MAINFRAME, 5, 4, TEXT("Kipo")},
        {__LINE__, IDR_MAINFRAME, 1, 0, TEXT("")},
        {__LINE__, IDS_SETTINGS, 100, 8, TEXT("Settings")},
        {__LINE__, IDS_SETTINGS, 9, 8, TEXT("Settings")},
        {__LINE__, 999, 100, 0, TEXT("")},
        {__LINE__, 0x10080, 100, 0, TEXT("")}, // not a 16-bit identifier, not string 128
    };
    for (const StringCase& c : cases) {
        WCHAR buffer[128];
        std::fill(std::begin(buffer), std::end(buffer), WCHAR('#'));
        EXPECT_EQ(LoadStringW(nullptr, c.id, buffer, c.size), c.result) << "table line " << c.line;
        EXPECT_EQ(WString(buffer), WString(c.text)) << "table line " << c.line;
    }
    EXPECT_EQ(LoadStringW(nullptr, IDS_SETTINGS, nullptr, 10), 0);
    // A zero size asks for a read-only pointer to the text itself.
    const WCHAR* direct = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, IDS_SETTINGS, reinterpret_cast<LPWSTR>(&direct), 0), 8);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(WString(direct, 8), WString(TEXT("Settings")));
}

struct ComboCase {
    int line;
    int controlId;
    std::vector<WString> items;
};

TEST(ResourceTables, SettingsDialogListsOfferTheirItemsInStoredOrder) {
    const res::Dialog* dialog = res::FindDialog(res::ProgramResources(), IDD_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    const std::vector<WString> actions = {TEXT("Leave"), TEXT("Turn On"), TEXT("Turn Off")};
    const ComboCase cases[] = {
        {__LINE__, IDC_DEFAULTACTION, actions},
        {__LINE__, IDC_WFDEFAULTACTION, actions},
        {__LINE__, IDC_BTCONTROL, {TEXT("Widcomm"), TEXT("Microsoft")}},
        {__LINE__, IDC_DEFCONTROL, {TEXT("Bluetooth"), TEXT("WiFi")}},
        {__LINE__, IDC_MATCH, {TEXT("Only active window"), TEXT("All windows (only exact match)")}},
    };
    for (const ComboCase& c : cases) {
        const res::ComboItems* combo = res::FindComboItems(*dialog, c.controlId);
        ASSERT_NE(combo, nullptr) << "table line " << c.line;
        std::vector<WString> items(combo->items.begin(), combo->items.end());
        EXPECT_EQ(items, c.items) << "table line " << c.line;
    }
    EXPECT_EQ(dialog->comboItems.size(), std::size(cases)) << "no other list has items";
    EXPECT_EQ(res::FindComboItems(*dialog, IDC_ONLIST), nullptr);
}

TEST(ResourceTables, IconArtFitsItsImagesAndUsesThePalette) {
    const res::Section& section = res::ProgramResources();
    const std::pair<WORD, std::vector<int>> expected[] = {
        {IDR_MAINFRAME, {32, 16, 64}},
        {IDI_NOTIFY_HIGHRES, {16, 32}},
        {IDI_NOTIFY_LOWRES, {16}},
    };
    for (const auto& [id, sizes] : expected) {
        const res::Icon* icon = res::FindIcon(section, id);
        ASSERT_NE(icon, nullptr) << id;
        ASSERT_EQ(icon->images.size(), sizes.size()) << id;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const res::IconImage& image = icon->images[i];
            EXPECT_EQ(image.size, sizes[i]) << id;
            EXPECT_EQ(image.bitsPerPixel, 8) << id;
            ASSERT_GT(image.scale, 0) << id;
            EXPECT_EQ(static_cast<int>(image.rows.size()) * image.scale, image.size) << id;
            for (const char* row : image.rows) {
                ASSERT_NE(row, nullptr);
                EXPECT_EQ(static_cast<int>(std::strlen(row)) * image.scale, image.size) << id;
                for (const char* p = row; *p != 0; ++p) {
                    bool known = *p == '.';
                    for (const res::PaletteEntry& entry : section.palette)
                        known = known || entry.letter == *p;
                    EXPECT_TRUE(known) << "icon " << id << " uses '" << *p << "'";
                }
            }
        }
    }
}

struct QuoteCase {
    int line;
    const WCHAR* text;
    const char* quoted;
};

TEST(RcWriter, StringsAreQuotedAsTheResourceCompilerReadsThem) {
    const WCHAR unpaired[] = {'a', 0xD800, 'b', 0};
    const QuoteCase cases[] = {
        {__LINE__, TEXT("Override \"On\" lists"), "\"Override \"\"On\"\" lists\""},
        {__LINE__, TEXT("a\\b"), "\"a\\\\b\""},
        {__LINE__, TEXT("Kipo\n\nKipo"), "\"Kipo\\n\\nKipo\""},
        {__LINE__, TEXT("tab\there"), "\"tab\\there\""},
        {__LINE__, TEXT("caf\u00e9"), "\"caf\xc3\xa9\""},
        {__LINE__, TEXT("\U0001F600"), "\"\xf0\x9f\x98\x80\""},
        {__LINE__, unpaired,
         "\"a\xef\xbf\xbd"
         "b\""},
        {__LINE__, nullptr, "\"\""},
    };
    for (const QuoteCase& c : cases)
        EXPECT_EQ(res::RcQuote(c.text), std::string(c.quoted)) << "table line " << c.line;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// From the build's own record of the source folder: __FILE__ is relative to the build tree when
// the compiler cache rewrites paths, and the test runs in another folder.
const std::filesystem::path kWin32Dir = std::filesystem::path(KIPO_SOURCE_DIR) / "res" / "win32";

// The Windows build compiles the committed files: they must say what the tables say
// (regenerate with kipo_rcgen res/win32 after changing a table).
TEST(RcWriter, CommittedWindowsResourcesMatchTheTables) {
    const res::Section& section = res::ProgramResources();
    EXPECT_EQ(ReadFile(kWin32Dir / "kipo.rc"), res::WriteRcScript(section));
    for (const res::Icon& icon : section.icons) {
        const std::vector<unsigned char> bytes = res::WriteIconFile(icon, section.palette);
        EXPECT_EQ(ReadFile(kWin32Dir / res::IconFileName(icon.id)),
                  std::string(bytes.begin(), bytes.end()))
            << res::IconFileName(icon.id);
    }
}

unsigned Read16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<unsigned>(b.at(at) | (b.at(at + 1) << 8));
}
unsigned Read32(const std::vector<unsigned char>& b, std::size_t at) {
    return Read16(b, at) | (Read16(b, at + 2) << 16);
}

TEST(RcWriter, IconFileHoldsEveryImageWithItsMask) {
    const res::Section& section = res::ProgramResources();
    const res::Icon* icon = res::FindIcon(section, IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    const std::vector<unsigned char> file = res::WriteIconFile(*icon, section.palette);
    ASSERT_EQ(Read16(file, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(Read16(file, 4), 3u);
    const int sizes[] = {32, 16, 64};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int size = sizes[i];
        EXPECT_EQ(file.at(entry), size);
        EXPECT_EQ(Read16(file, entry + 6), 8u) << "bits per pixel";
        const std::size_t offset = Read32(file, entry + 12);
        const std::size_t bytes = Read32(file, entry + 8);
        ASSERT_LE(offset + bytes, file.size());
        EXPECT_EQ(Read32(file, offset + 4), static_cast<unsigned>(size));
        EXPECT_EQ(Read32(file, offset + 8), static_cast<unsigned>(2 * size)) << "colour + mask";
        const std::size_t colours = offset + 40 + 256 * 4;
        const std::size_t mask = colours + static_cast<std::size_t>(size * size);
        const std::size_t maskRow = static_cast<std::size_t>((size + 31) / 32 * 4);
        EXPECT_EQ(bytes, 40 + 256 * 4 + static_cast<std::size_t>(size * size) +
                             maskRow * static_cast<std::size_t>(size));
        // Rows are stored bottom-up: the top-left corner is transparent art, the centre is not.
        const std::size_t topRow = static_cast<std::size_t>(size - 1);
        EXPECT_NE(file.at(mask + topRow * maskRow) & 0x80, 0) << size;
        const std::size_t middle = static_cast<std::size_t>(size / 2);
        EXPECT_EQ(file.at(mask + middle * maskRow + middle / 8) & (0x80 >> (middle % 8)), 0)
            << size;
        EXPECT_NE(file.at(colours + middle * static_cast<std::size_t>(size) + middle), 0) << size;
    }
}

TEST(RcWriter, HiddenControlsAreMarkedNotVisibleForTheCompiler) {
    const std::string script = res::WriteRcScript(res::ProgramResources());
    EXPECT_NE(script.find("CONTROL \"Test\", 1015, \"BUTTON\", 0x40010000 | NOT 0x10000000, 1, "
                          "152, 50, 14"),
              std::string::npos);
    EXPECT_NE(script.find("CONTROL 128, -1, \"STATIC\", 0x50000003, 11, 12, 20, 20"),
              std::string::npos)
        << "the icon static names icon 128 and keeps its size";
    EXPECT_NE(script.find("EXSTYLE 0x80000000"), std::string::npos);
}

} // namespace
