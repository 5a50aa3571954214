// The registry as .reg text: what regedit writes loads, every value survives a save and load
// unchanged, and a malformed file is refused whole with its line named.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/sim/reg_file.h"
#include "tests/support/device_test.h"

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> list) {
    std::vector<BYTE> bytes;
    for (int b : list)
        bytes.push_back(static_cast<BYTE>(b));
    return bytes;
}

std::vector<BYTE> Utf16z(const WString& text) {
    std::vector<BYTE> bytes;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const unsigned unit = i < text.size() ? static_cast<unsigned>(text[i]) : 0u;
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return bytes;
}

// Every key (with its name as stored) and value of a registry, one per line, independent of
// the .reg writer, so two registries compare as text.
void Dump(const sim::RegKeyNode& node, const std::string& path, std::string* out) {
    *out += "[" + path + "]\n";
    for (const sim::RegValue& value : node.values) {
        *out += "  " + ToUtf8(value.name) + " type=" + std::to_string(value.type) + " bytes=";
        for (BYTE b : value.data)
            *out += std::to_string(b) + ",";
        *out += "\n";
    }
    for (const auto& [folded, child] : node.children)
        Dump(*child, path + "\\" + ToUtf8(child->name), out);
}

std::string Dump(const sim::Registry& registry) {
    std::string out;
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS})
        Dump(*registry.Root(root), ToUtf8(sim::Registry::RootName(root)), &out);
    return out;
}

using RegFile = DeviceTest;

TEST_F(RegFile, LoadsWhatRegeditWrites) {
    // CRLF line ends, a comment, a continued hex line, every value form.
    const std::string text = "Windows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "; settings of the distributed executable\r\n"
                             "[HKEY_CURRENT_USER\\software\\Kipo\\Kipo\\Settings]\r\n"
                             "\"OffList\"=\"HR: ;\"\r\n"
                             "\"Quoted\"=\"say \\\"hi\\\" to C:\\\\Temp\"\r\n"
                             "\"KeepPDAOn\"=dword:00000001\r\n"
                             "\"Big\"=dword:ffffffff\r\n"
                             "@=\"default\"\r\n"
                             "\"Blob\"=hex:01,02,\\\r\n"
                             "  03,ff\r\n"
                             "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
                             "\"Empty\"=hex:\r\n"
                             "\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Widcomm\\BtConfig\\General]\r\n"
                             "\"StackMode\"=dword:2\r\n"
                             "[HKCU\\software\\Empty key]\r\n";
    sim::RegFileError error;
    ASSERT_TRUE(sim::LoadRegText(device.registry, text, &error)) << error.Text();

    struct Row {
        int line;
        HKEY root;
        const WCHAR* path;
        const WCHAR* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const WCHAR* settings = TEXT("software\\Kipo\\Kipo\\Settings");
    const Row rows[] = {
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("OffList"), REG_SZ, Utf16z(TEXT("HR: ;"))},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("Quoted"), REG_SZ,
         Utf16z(TEXT("say \"hi\" to C:\\Temp"))},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("KeepPDAOn"), REG_DWORD, Bytes({1, 0, 0, 0})},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("Big"), REG_DWORD,
         Bytes({255, 255, 255, 255})},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT(""), REG_SZ, Utf16z(TEXT("default"))},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("Blob"), REG_BINARY, Bytes({1, 2, 3, 255})},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("Multi"), REG_MULTI_SZ,
         Bytes({'a', 0, 0, 0, 0, 0})},
        {__LINE__, HKEY_CURRENT_USER, settings, TEXT("Empty"), REG_BINARY, Bytes({})},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"),
         TEXT("StackMode"), REG_DWORD, Bytes({2, 0, 0, 0})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        const sim::RegValue* value = device.registry.Find(row.root, row.path, row.name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, row.type);
        EXPECT_EQ(value->data, row.data);
    }
    EXPECT_TRUE(device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\empty key")));
}

TEST_F(RegFile, Utf16WithBomAndUtf8WithBomLoadAlike) {
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\software\\Kipo]\r\n"
                                u"\"Name\"=\"\u0416\u00e9\u4e2d\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : text) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    sim::RegFileError error;
    ASSERT_TRUE(sim::LoadRegText(device.registry, utf16, &error)) << error.Text();
    const std::string fromUtf16 = Dump(device.registry);
    device.registry.Clear();
    ASSERT_TRUE(sim::LoadRegText(device.registry, "\xEF\xBB\xBF" + ToUtf8(text), &error))
        << error.Text();
    EXPECT_EQ(Dump(device.registry), fromUtf16);
    const sim::RegValue* value =
        device.registry.Find(HKEY_CURRENT_USER, TEXT("software\\Kipo"), TEXT("name"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->data, Utf16z(u"\u0416\u00e9\u4e2d"));
}

TEST_F(RegFile, DeletionLines) {
    device.registry.PutString(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"),
                              TEXT("OnList"), TEXT("x"));
    device.registry.PutString(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"),
                              TEXT("OffList"), TEXT("y"));
    device.registry.PutDword(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"),
                             TEXT("StackMode"), 1);
    const std::string text = "Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\software\\Kipo\\Kipo\\Settings]\n"
                             "\"onlist\"=-\n"
                             "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Widcomm]\n";
    sim::RegFileError error;
    ASSERT_TRUE(sim::LoadRegText(device.registry, text, &error)) << error.Text();
    const WCHAR* settings = TEXT("software\\Kipo\\Kipo\\Settings");
    EXPECT_EQ(device.registry.Find(HKEY_CURRENT_USER, settings, TEXT("OnList")), nullptr);
    EXPECT_NE(device.registry.Find(HKEY_CURRENT_USER, settings, TEXT("OffList")), nullptr);
    EXPECT_FALSE(device.registry.KeyExists(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm")));
    EXPECT_TRUE(device.registry.KeyExists(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE")));
}

TEST_F(RegFile, EveryValueSurvivesSaveAndLoad) {
    sim::Registry& reg = device.registry;
    const WCHAR* k = TEXT("software\\Kipo\\Kipo\\Settings");
    std::vector<BYTE> big(3000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<BYTE>(i);
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Plain"), TEXT("Desktop;#WInbox;#bCalendar"));
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Escapes"), TEXT("a\\b \"q\" ;#"));
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Unicode"), u"\u0416\u00e9\U0001F600");
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Empty"), TEXT(""));
    reg.PutString(HKEY_CURRENT_USER, k, TEXT(""), TEXT("default"));
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Lines"), TEXT("one\r\ntwo"));
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Lone surrogate"), WString(1, u'\xD800'));
    reg.PutString(HKEY_CURRENT_USER, k, TEXT("Name \"with\" \\ quotes"), TEXT("v"));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("NoTerminator"), REG_SZ, Bytes({'a', 0, 'b', 0}));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("NulInside"), REG_SZ, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0}));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("Odd"), REG_SZ, Bytes({'a', 0, 'b'}));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("ZeroBytesSz"), REG_SZ, Bytes({}));
    reg.PutDword(HKEY_CURRENT_USER, k, TEXT("Dword"), 0x80000001u);
    reg.Put(HKEY_CURRENT_USER, k, TEXT("ShortDword"), REG_DWORD, Bytes({1, 2, 3}));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("LongDword"), REG_DWORD, Bytes({1, 2, 3, 4, 5}));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("Binary"), REG_BINARY, big);
    reg.Put(HKEY_CURRENT_USER, k, TEXT("None"), REG_NONE, Bytes({}));
    reg.Put(HKEY_CURRENT_USER, k, TEXT("OddType"), 0xABCDEF01u, Bytes({7}));
    reg.EnsureKey(HKEY_CURRENT_USER, TEXT("software\\Empty\\Leaf"));
    reg.PutDword(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"),
                 TEXT("StackMode"), 1);
    reg.Put(HKEY_CURRENT_USER, TEXT(""), TEXT("AtRoot"), REG_BINARY, Bytes({1}));

    std::string saved;
    std::string saveError;
    ASSERT_TRUE(sim::SaveRegText(reg, &saved, &saveError)) << saveError; // the UTF-8 form
    sim::Registry loaded;
    sim::RegFileError error;
    ASSERT_TRUE(sim::LoadRegText(loaded, saved, &error)) << error.Text() << "\n" << saved;
    EXPECT_EQ(Dump(loaded), Dump(reg)) << saved;
    // Saving what was loaded writes the same text again.
    std::string again;
    ASSERT_TRUE(sim::SaveRegText(loaded, &again, &saveError));
    EXPECT_EQ(again, saved);
    // regedit's own forms where they are exact, and lines short enough for regedit.
    EXPECT_NE(saved.find("\"Plain\"=\"Desktop;#WInbox;#bCalendar\"\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Escapes\"=\"a\\\\b \\\"q\\\" ;#\"\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Dword\"=dword:80000001\n"), std::string::npos);
    EXPECT_NE(saved.find("@=\"default\"\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Odd\"=hex(1):61,00,62\n"), std::string::npos);
    std::size_t start = 0;
    while (start < saved.size()) {
        std::size_t end = saved.find('\n', start);
        EXPECT_LE(end - start, 80u) << saved.substr(start, end - start);
        start = end + 1;
    }
}

TEST_F(RegFile, VolatileKeysAreNotSaved) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("Volatile"), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    device.registry.EnsureKey(HKEY_CURRENT_USER, TEXT("Lasting"));
    std::string saved;
    ASSERT_TRUE(sim::SaveRegText(device.registry, &saved, nullptr));
    EXPECT_EQ(saved.find("Volatile"), std::string::npos);
    EXPECT_NE(saved.find("[HKEY_CURRENT_USER\\Lasting]"), std::string::npos);
}

TEST_F(RegFile, NamesTheFormatCannotHoldAreRefusedOnSave) {
    device.registry.PutDword(HKEY_CURRENT_USER, TEXT("k"), TEXT("two\nlines"), 1);
    std::string saved = "untouched";
    std::string error;
    EXPECT_FALSE(sim::SaveRegText(device.registry, &saved, &error));
    EXPECT_EQ(saved, "untouched");
    EXPECT_NE(error.find("HKEY_CURRENT_USER\\k"), std::string::npos) << error;
}

TEST_F(RegFile, MalformedTextIsRefusedWholeNamingLineAndColumn) {
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\a]\n";
    std::string deep = "[HKCU";
    for (int level = 0; level < 513; ++level)
        deep += "\\k";
    struct Row {
        int line;
        std::string text;
        int errorLine;
        int errorColumn;
        const char* says;
    };
    const Row rows[] = {
        {__LINE__, "", 0, 0, "empty"},
        {__LINE__, "Windows Registry Editor Version 4.00\n", 1, 1, "Version 5.00"},
        {__LINE__, "\xFE\xFFxx", 0, 0, "big-endian"},
        {__LINE__,
         "\xFF\xFE"
         "a",
         0, 0, "odd"},
        {__LINE__, "REGEDIT4\n  \"v\"=\"x\"\n", 2, 3, "before any [key]"},
        {__LINE__, head + "\"v\"=\"x\"\n[HKEY_NOWHERE\\x]\n", 5, 2, "unknown root"},
        {__LINE__, head + "[HKEY_CURRENT_USER\\b  \n", 4, 21, "\"]\""},
        {__LINE__, head + "[-HKEY_CURRENT_USER]\n", 4, 3, "root key"},
        {__LINE__, head + "[HKCU\\" + std::string(256, 'k') + "]\n", 4, 7, "255"},
        {__LINE__, head + deep + "]\n", 4, 6 + 512 * 2 + 1, "512 levels"},
        {__LINE__, head + "\"" + std::string(16384, 'n') + "\"=dword:1\n", 4, 1, "16383"},
        {__LINE__, head + "\"v\"=\"unterminated\n", 4, 5, "closing quote"},
        {__LINE__, head + "\"v\"=\"C:\\Temp\"\n", 4, 8, "escape"},
        {__LINE__, head + "\"v\"=\"x\" trailing\n", 4, 9, "after the closing quote"},
        {__LINE__, head + "\"v\" \"x\"\n", 4, 5, "\"=\""},
        {__LINE__, head + "v=\"x\"\n", 4, 1, "expected a [key]"},
        {__LINE__, head + "\"v\"=dword:123456789\n", 4, 11, "dword"},
        {__LINE__, head + "\"v\"=dword:\n", 4, 11, "dword"},
        {__LINE__, head + "\"v\"=dword:12g4\n", 4, 13, "dword"},
        {__LINE__, head + "\"v\"=hex:01,zz\n", 4, 12, "hex digits"},
        {__LINE__, head + "\"v\"=hex:01 02\n", 4, 12, "\",\""},
        {__LINE__, head + "\"v\"=hex(:01\n", 4, 8, "hex(N)"},
        {__LINE__, head + "\"v\"=hex(1x):01\n", 4, 10, "hex(N)"},
        {__LINE__, head + "\"v\"=hex;01\n", 4, 8, "\":\""},
        {__LINE__, head + "\"v\"=hex:01,\\\n  02,\\\n  0q\n", 6, 3, "hex digits"},
        {__LINE__, head + "\"v\"=hex:01,\\", 4, 12, "ends inside"},
        {__LINE__, head + "\"v\"=str:abc\n", 4, 5, "unknown value data"},
        {__LINE__, head + "[-HKCU\\a]\n\"v\"=\"x\"\n", 5, 1, "deleted"},
        // Columns count characters: U+1F600 (a surrogate pair) and U+00E9 are one each.
        {__LINE__, head + "\"\xF0\x9F\x98\x80\xC3\xA9\"=bad\n", 4, 6, "unknown value data"},
        // A huge line is named, not repeated.
        {__LINE__, head + "[" + std::string(100000, 'X') + "]\n", 4, 2, "unknown root"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        sim::Registry registry;
        registry.PutDword(HKEY_CURRENT_USER, TEXT("before"), TEXT("kept"), 5);
        const std::string dumpBefore = Dump(registry);
        sim::RegFileError error;
        EXPECT_FALSE(sim::LoadRegText(registry, row.text, &error));
        EXPECT_EQ(error.line, row.errorLine) << error.Text();
        EXPECT_EQ(error.column, row.errorColumn) << error.Text();
        EXPECT_NE(error.message.find(row.says), std::string::npos) << error.Text();
        EXPECT_LT(error.message.size(), 200u);
        EXPECT_EQ(Dump(registry), dumpBefore) << "a refused file changed the registry";
    }
}

TEST_F(RegFile, ErrorsReadAsCompilersWriteThem) {
    const sim::RegFileError atLine{4, 5, "missing closing quote"};
    EXPECT_EQ(atLine.Describe("my dir/x.reg"), "my dir/x.reg:4:5: missing closing quote");
    const sim::RegFileError whole{0, 0, "cannot read: is a folder"};
    EXPECT_EQ(whole.Describe("../regs"), "../regs: cannot read: is a folder");
}

TEST_F(RegFile, AFileThatCannotBeReadSaysWhy) {
    const std::string folder = testing::TempDir() + "kipo_reg_unreadable";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string locked = folder + "/locked.reg";
    std::ofstream(locked) << "Windows Registry Editor Version 5.00\n";
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    struct Row {
        int line;
        std::string path;
        const char* says;
    };
    std::vector<Row> rows = {
        {__LINE__, folder + "/missing.reg", "cannot read: no such file"},
        {__LINE__, folder, "cannot read: is a folder"},
    };
    if (geteuid() != 0) // root reads whatever the permissions say
        rows.push_back({__LINE__, locked, "cannot read: permission denied"});
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        sim::Registry registry;
        sim::RegFileError error;
        EXPECT_FALSE(sim::LoadRegFile(registry, row.path, &error));
        EXPECT_EQ(error.line, 0);
        EXPECT_EQ(error.message, row.says);
        EXPECT_FALSE(sim::CheckRegFile(row.path, &error));
        EXPECT_EQ(error.message, row.says);
    }
    std::filesystem::remove_all(folder);
}

TEST_F(RegFile, CheckingAFileChangesNothingAndFindsWhatLoadingFinds) {
    const std::string path = testing::TempDir() + "kipo_reg_check.reg";
    std::ofstream(path) << "Windows Registry Editor Version 5.00\n[HKCU\\x]\n\"v\"=dword:1\n"
                           "\"w\"=dword:xyz\n";
    sim::RegFileError checked;
    EXPECT_FALSE(sim::CheckRegFile(path, &checked));
    sim::Registry registry;
    sim::RegFileError loaded;
    EXPECT_FALSE(sim::LoadRegFile(registry, path, &loaded));
    EXPECT_EQ(checked.Describe(path), loaded.Describe(path));
    EXPECT_EQ(checked.line, 4);
    EXPECT_FALSE(registry.KeyExists(HKEY_CURRENT_USER, TEXT("x")));
    std::remove(path.c_str());
}

} // namespace
