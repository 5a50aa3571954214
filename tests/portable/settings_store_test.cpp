// The settings store against a registry (the simulated one, or Wine's): defaults, the path it
// creates, what it writes, and how it reads data of any type and size.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/platform.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "tests/support/fresh_device.h"

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> list) {
    std::vector<BYTE> bytes;
    for (int b : list)
        bytes.push_back(static_cast<BYTE>(b));
    return bytes;
}

std::vector<BYTE> Utf16(const WString& text, bool terminator) {
    std::vector<BYTE> bytes;
    for (WCHAR unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    if (terminator) {
        bytes.push_back(0);
        bytes.push_back(0);
    }
    return bytes;
}

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override {
        store.SetRegistryKey(TEXT("Kipo"));
        appPath = TEXT("software\\Kipo\\") + store.ProfileName();
        sectionPath = appPath + TEXT("\\Settings");
    }
    void TearDown() override {
        // A skipped test did nothing; under Wine its skip report alone can open a handle.
        if (!IsSkipped()) {
            EXPECT_EQ(fresh.OpenHandles(), 0) << "a handle was left open";
        }
    }

    // Writes a value behind the store's back. The bytes lie between non-zero guards: desktop
    // Windows adds a terminator to string data that lacks one when the memory after it
    // happens to hold a NUL, and the data must reach the registry exactly as written.
    void PutRaw(const WCHAR* name, DWORD type, const std::vector<BYTE>& data) {
        std::vector<BYTE> guarded(data.size() + 4, 0xFF);
        std::copy(data.begin(), data.end(), guarded.begin() + 2);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, sectionPath.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, data.empty() ? nullptr : guarded.data() + 2,
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        DWORD storedType = 0;
        std::vector<BYTE> stored;
        ASSERT_TRUE(GetRaw(name, &storedType, &stored));
        ASSERT_EQ(stored.size(), data.size()) << "the registry did not keep the bytes as written";
    }

    // Reads a value behind the store's back: false when the key or value is missing.
    bool GetRaw(const WCHAR* name, DWORD* type, std::vector<BYTE>* data) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, sectionPath.c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        LONG status = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
        if (status == ERROR_SUCCESS) {
            // Slack beyond the size offered: desktop Windows may put a NUL there.
            data->assign(size + 2, 0);
            status = RegQueryValueExW(key, name, nullptr, type, data->data(), &size);
            data->resize(size);
        }
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

    bool KeyExists(const WString& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    FreshDevice fresh; // first: the store reads the fresh device's module path
    CSettingsStore store;
    WString appPath;
    WString sectionPath;
};

// The nine values as the program documents them (names, defaults), in their fixed order.
struct Documented {
    const WCHAR* name;
    bool isText;
    int intDefault;
    const WCHAR* textDefault;
};
const Documented kDocumented[] = {
    {TEXT("DefaultAction"), false, 0, nullptr},
    {TEXT("WFDefaultAction"), false, 0, nullptr},
    {TEXT("OnList"), true, 0, TEXT("")},
    {TEXT("OffList"), true, 0, TEXT("HR: ;")},
    {TEXT("OnRunList"), true, 0, TEXT("Internet explorer;")},
    {TEXT("BTControl"), false, 0, nullptr},
    {TEXT("DefControl"), false, 0, nullptr},
    {TEXT("OffTakesPrecedence"), false, 0, nullptr},
    {TEXT("KeepPDAOn"), false, 0, nullptr},
};

TEST_F(SettingsStore, TheNineValuesAreTheDocumentedOnes) {
    ASSERT_EQ(SettingValueCount, 9);
    for (int i = 0; i < SettingValueCount; ++i) {
        SCOPED_TRACE(testing::Message() << "value " << i);
        const SettingValue& value = SettingValues[i];
        EXPECT_EQ(WString(value.name), WString(kDocumented[i].name));
        EXPECT_EQ(value.type == SettingType::Text, kDocumented[i].isText);
        if (value.type == SettingType::Text)
            EXPECT_EQ(WString(value.textDefault), WString(kDocumented[i].textDefault));
        else
            EXPECT_EQ(value.intDefault, kDocumented[i].intDefault);
    }
}

TEST_F(SettingsStore, WithNoKeyEveryReadGivesItsDefaultAndCreatesOnlyTheKeys) {
    ASSERT_FALSE(KeyExists(TEXT("software\\Kipo")));
    for (const SettingValue& value : SettingValues) {
        SCOPED_TRACE(testing::Message() << ToUtf8(value.name));
        if (value.type == SettingType::Int) {
            // A default the store cannot have made up.
            EXPECT_EQ(store.GetProfileInt(SettingsSection, value.name, 4711), 4711);
            EXPECT_EQ(store.GetProfileInt(SettingsSection, value.name, value.intDefault), 0);
        } else {
            EXPECT_EQ(store.GetProfileString(SettingsSection, value.name, value.textDefault),
                      WString(value.textDefault));
        }
    }
    EXPECT_TRUE(KeyExists(sectionPath));
    for (const SettingValue& value : SettingValues) {
        DWORD type = 0;
        std::vector<BYTE> data;
        EXPECT_FALSE(GetRaw(value.name, &type, &data)) << ToUtf8(value.name) << " was created";
    }
}

TEST_F(SettingsStore, WritesKeepTypeAndTerminatorAndReadBack) {
    struct IntRow {
        int line;
        const WCHAR* name;
        int value;
    };
    const IntRow ints[] = {
        {__LINE__, TEXT("DefaultAction"), 2},      {__LINE__, TEXT("WFDefaultAction"), -1},
        {__LINE__, TEXT("BTControl"), INT_MIN},    {__LINE__, TEXT("DefControl"), INT_MAX},
        {__LINE__, TEXT("OffTakesPrecedence"), 0}, {__LINE__, TEXT("KeepPDAOn"), 0x01020304},
    };
    for (const IntRow& row : ints) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        EXPECT_NE(store.WriteProfileInt(SettingsSection, row.name, row.value), FALSE);
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(GetRaw(row.name, &type, &data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        const DWORD bits = static_cast<DWORD>(row.value);
        EXPECT_EQ(data,
                  Bytes({static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                         static_cast<int>((bits >> 16) & 0xFF), static_cast<int>(bits >> 24)}));
        EXPECT_EQ(store.GetProfileInt(SettingsSection, row.name, 99), row.value);
    }
    struct TextRow {
        int line;
        const WCHAR* name;
        WString value;
    };
    const TextRow texts[] = {
        {__LINE__, TEXT("OnList"), TEXT("Desktop;#WInbox;#bCalendar")},
        {__LINE__, TEXT("OffList"), TEXT("")}, // saved empty stays empty, not the default
        {__LINE__, TEXT("OnRunList"), TEXT("  Spaces kept ; Case Kept  ")},
        {__LINE__, TEXT("OnList"), WString(TEXT("\u0416\u00e9\u4e2d\U0001F600"))},
    };
    for (const TextRow& row : texts) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        EXPECT_NE(store.WriteProfileString(SettingsSection, row.name, row.value.c_str()), FALSE);
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(GetRaw(row.name, &type, &data));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(data, Utf16(row.value, true)) << "(length + 1) * 2 bytes with the NUL";
        EXPECT_EQ(store.GetProfileString(SettingsSection, row.name, TEXT("default")), row.value);
    }
}

TEST_F(SettingsStore, AnyDataReadsAsAnInteger) {
    std::vector<BYTE> mebibyte(1 << 20, 0x11);
    struct Row {
        int line;
        DWORD type;
        std::vector<BYTE> data;
        int expected;
    };
    const int fallback = -7;
    const Row rows[] = {
        {__LINE__, REG_DWORD, Bytes({1, 0, 0, 0}), 1},
        {__LINE__, REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), -1},
        // Shorter than four bytes: zero-extended.
        {__LINE__, REG_DWORD, Bytes({}), 0},
        {__LINE__, REG_BINARY, Bytes({0x41}), 0x41},
        {__LINE__, REG_BINARY, Bytes({0xFF}), 0xFF},
        {__LINE__, REG_BINARY, Bytes({1, 2, 3}), 0x030201},
        {__LINE__, REG_BINARY, Bytes({0xFF, 0xFF, 0xFF}), 0x00FFFFFF},
        // Longer than four bytes: the default.
        {__LINE__, REG_DWORD, Bytes({1, 0, 0, 0, 0}), fallback},
        {__LINE__, REG_BINARY, Bytes({1, 2, 3, 4, 5}), fallback},
        {__LINE__, REG_QWORD, Bytes({1, 0, 0, 0, 0, 0, 0, 0}), fallback},
        {__LINE__, REG_BINARY, mebibyte, fallback},
        // The type plays no part: a one-character string is its character's code.
        {__LINE__, REG_SZ, Utf16(TEXT("A"), true), 0x41},
        {__LINE__, REG_SZ, Utf16(TEXT("2"), true), 0x32},
        {__LINE__, REG_SZ, Utf16(TEXT("A"), false), 0x41},
        {__LINE__, REG_SZ, Utf16(TEXT("AB"), false), 0x00420041},
        {__LINE__, REG_SZ, Utf16(TEXT("AB"), true), fallback},
        {__LINE__, REG_SZ, Utf16(TEXT("1500"), true), fallback},
        {__LINE__, REG_MULTI_SZ, Bytes({'x', 0, 0, 0}), 'x'},
        {__LINE__, REG_NONE, Bytes({0, 0, 0, 0x80}), INT_MIN},
        {__LINE__, REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 1}), 0x01000000},
        {__LINE__, 0x12345u, Bytes({5}), 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        PutRaw(TEXT("KeepPDAOn"), row.type, row.data);
        EXPECT_EQ(store.GetProfileInt(SettingsSection, TEXT("KeepPDAOn"), fallback), row.expected);
    }
}

TEST_F(SettingsStore, AnyDataReadsAsTextUpToItsFirstNul) {
    const WString halfMebibyte(1 << 19, static_cast<WCHAR>('x'));
    std::vector<BYTE> unterminated = Utf16(halfMebibyte, false); // 1 MiB, no NUL at all
    std::vector<BYTE> oddMebibyte = unterminated;
    oddMebibyte.push_back('y');
    struct Row {
        int line;
        DWORD type;
        std::vector<BYTE> data;
        WString expected;
    };
    const Row rows[] = {
        {__LINE__, REG_SZ, Utf16(TEXT("Inbox;"), true), TEXT("Inbox;")},
        {__LINE__, REG_SZ, Utf16(TEXT("Inbox;"), false), TEXT("Inbox;")},
        {__LINE__, REG_SZ, Utf16(WString(TEXT("a\0b"), 3), true), TEXT("a")},
        {__LINE__, REG_SZ, Utf16(WString(TEXT("\0b"), 2), true), TEXT("")},
        // An odd last byte is half a character: dropped.
        {__LINE__, REG_SZ, Bytes({'a', 0, 'b', 0, 'c'}), TEXT("ab")},
        {__LINE__, REG_SZ, Bytes({'a', 0, 'b'}), TEXT("a")},
        {__LINE__, REG_SZ, Bytes({'x'}), TEXT("")},
        // An existing value with no data is empty text, not the default.
        {__LINE__, REG_SZ, Bytes({}), TEXT("")},
        {__LINE__, REG_BINARY, Bytes({}), TEXT("")},
        // The type plays no part.
        {__LINE__, REG_DWORD, Bytes({0x41, 0, 0x42, 0}), TEXT("AB")},
        {__LINE__, REG_DWORD, Bytes({1, 0, 0, 0}), WString(1, static_cast<WCHAR>(1))},
        {__LINE__, REG_BINARY, Bytes({0, 0, 'x', 0}), TEXT("")},
        {__LINE__, REG_MULTI_SZ, Utf16(WString(TEXT("a\0b\0"), 4), true), TEXT("a")},
        {__LINE__, REG_EXPAND_SZ, Utf16(TEXT("%x%"), true), TEXT("%x%")},
        {__LINE__, 0x7FFFu, Utf16(TEXT("t"), true), TEXT("t")},
        // Unpaired surrogates are data like any other.
        {__LINE__, REG_SZ, Bytes({0x00, 0xD8, 'z', 0}), WString(TEXT("\xD800z"))},
        {__LINE__, REG_SZ, Utf16(halfMebibyte, true), halfMebibyte},
        {__LINE__, REG_SZ, unterminated, halfMebibyte},
        {__LINE__, REG_SZ, oddMebibyte, halfMebibyte},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        PutRaw(TEXT("OnList"), row.type, row.data);
        const WString text = store.GetProfileString(SettingsSection, TEXT("OnList"), TEXT("dflt"));
        EXPECT_EQ(text.size(), row.expected.size());
        EXPECT_TRUE(text == row.expected);
    }
}

TEST_F(SettingsStore, MissingValuesAndNullDefaults) {
    PutRaw(TEXT("Other"), REG_SZ, Utf16(TEXT("x"), true));
    EXPECT_EQ(store.GetProfileString(SettingsSection, TEXT("OnList"), TEXT("dflt")),
              WString(TEXT("dflt")));
    EXPECT_EQ(store.GetProfileString(SettingsSection, TEXT("OnList"), nullptr), WString());
    EXPECT_EQ(store.GetProfileInt(SettingsSection, TEXT("OnList"), 12), 12);
    EXPECT_EQ(store.WriteProfileString(SettingsSection, TEXT("OnList"), nullptr), FALSE);
    DWORD type = 0;
    std::vector<BYTE> data;
    EXPECT_FALSE(GetRaw(TEXT("OnList"), &type, &data));
}

TEST_F(SettingsStore, NothingIsCachedBetweenCalls) {
    EXPECT_EQ(store.GetProfileInt(SettingsSection, TEXT("DefControl"), 0), 0);
    PutRaw(TEXT("DefControl"), REG_DWORD, Bytes({1, 0, 0, 0}));
    EXPECT_EQ(store.GetProfileInt(SettingsSection, TEXT("DefControl"), 0), 1);
    EXPECT_NE(store.WriteProfileString(SettingsSection, TEXT("OffList"), TEXT("a;")), FALSE);
    PutRaw(TEXT("OffList"), REG_SZ, Utf16(TEXT("b;"), true));
    EXPECT_EQ(store.GetProfileString(SettingsSection, TEXT("OffList"), TEXT("")),
              WString(TEXT("b;")));
    // The whole path is walked again each time: a key deleted in between comes back.
    HKEY app = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, appPath.c_str(), 0, KEY_ALL_ACCESS, &app),
              ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(app, TEXT("Settings")), ERROR_SUCCESS);
    RegCloseKey(app);
    EXPECT_EQ(store.GetProfileString(SettingsSection, TEXT("OffList"), TEXT("HR: ;")),
              WString(TEXT("HR: ;")));
    EXPECT_TRUE(KeyExists(sectionPath));
}

TEST_F(SettingsStore, SectionsAreKeysBelowTheApplicationKey) {
    EXPECT_NE(store.WriteProfileInt(TEXT("Other"), TEXT("DefControl"), 5), FALSE);
    EXPECT_EQ(store.GetProfileInt(SettingsSection, TEXT("DefControl"), 3), 3);
    EXPECT_EQ(store.GetProfileInt(TEXT("other"), TEXT("defcontrol"), 3), 5);
    EXPECT_TRUE(KeyExists(appPath + TEXT("\\Other")));
}

TEST_F(SettingsStore, AnotherExecutableNameFindsNoSettings) {
    if (!fresh.SetProgramPath(TEXT("\\Program Files\\Kipo\\Kipo.exe")))
        GTEST_SKIP() << "the host's module path cannot be changed";
    CSettingsStore kipo;
    kipo.SetRegistryKey(TEXT("Kipo"));
    ASSERT_NE(kipo.WriteProfileString(SettingsSection, TEXT("OffList"), TEXT("Notes;")), FALSE);
    ASSERT_NE(kipo.WriteProfileInt(SettingsSection, TEXT("KeepPDAOn"), 1), FALSE);

    ASSERT_TRUE(fresh.SetProgramPath(TEXT("\\Storage Card\\Kipo2.exe")));
    CSettingsStore other;
    other.SetRegistryKey(TEXT("Kipo"));
    EXPECT_EQ(other.ProfileName(), WString(TEXT("Kipo2")));
    EXPECT_EQ(other.GetProfileString(SettingsSection, TEXT("OffList"), TEXT("HR: ;")),
              WString(TEXT("HR: ;")));
    EXPECT_EQ(other.GetProfileInt(SettingsSection, TEXT("KeepPDAOn"), 0), 0);
    EXPECT_TRUE(KeyExists(TEXT("software\\Kipo\\Kipo2\\Settings")));
    // The distributed name still finds its own.
    EXPECT_EQ(kipo.GetProfileString(SettingsSection, TEXT("OffList"), TEXT("")),
              WString(TEXT("Notes;")));
}

} // namespace
