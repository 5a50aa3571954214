// Values of the simulated registry: types and bytes kept exactly, the size-only query, the too
// small buffer, the default value, deletion, and the trace of the calls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/device_test.h"

namespace {

class RegistryValues : public DeviceTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("software\\Test"), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        EXPECT_EQ(RegCloseKey(key_), ERROR_SUCCESS);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::RegistryKey), 0);
    }

    LONG Set(const WCHAR* name, DWORD type, const std::vector<BYTE>& data) {
        return RegSetValueExW(key_, name, 0, type, data.empty() ? nullptr : data.data(),
                              static_cast<DWORD>(data.size()));
    }

    HKEY key_ = nullptr;
};

std::vector<BYTE> Bytes(std::initializer_list<int> list) {
    std::vector<BYTE> bytes;
    for (int b : list)
        bytes.push_back(static_cast<BYTE>(b));
    return bytes;
}

TEST_F(RegistryValues, TypeAndBytesComeBackExactly) {
    struct Row {
        int line;
        DWORD type;
        std::vector<BYTE> data;
    };
    const Row rows[] = {
        {__LINE__, REG_SZ, Bytes({'a', 0, 'b', 0, 0, 0})},
        {__LINE__, REG_SZ, Bytes({'a', 0, 'b', 0})},             // no terminator added
        {__LINE__, REG_SZ, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0})}, // NUL inside kept
        {__LINE__, REG_SZ, Bytes({'a', 0, 'b'})},                // odd length kept
        {__LINE__, REG_DWORD, Bytes({1, 2, 3})},                 // short dword kept short
        {__LINE__, REG_DWORD, Bytes({1, 2, 3, 4, 5})},
        {__LINE__, REG_BINARY, Bytes({})},
        {__LINE__, REG_NONE, Bytes({0xFF})},
        {__LINE__, REG_MULTI_SZ, Bytes({'x', 0, 0, 0, 0, 0})},
        {__LINE__, 0x12345678u, Bytes({9, 8, 7})}, // any type number
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        ASSERT_EQ(Set(TEXT("v"), row.type, row.data), ERROR_SUCCESS);
        DWORD type = 0;
        DWORD size = 0;
        ASSERT_EQ(RegQueryValueExW(key_, TEXT("v"), nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, row.type);
        EXPECT_EQ(size, row.data.size());
        // A buffer larger than the data: the size says how much came.
        std::vector<BYTE> buffer(row.data.size() + 4, 0xEE);
        size = static_cast<DWORD>(buffer.size());
        type = 0;
        ASSERT_EQ(RegQueryValueExW(key_, TEXT("v"), nullptr, &type, buffer.data(), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, row.type);
        ASSERT_EQ(size, row.data.size());
        EXPECT_EQ(std::vector<BYTE>(buffer.begin(), buffer.begin() + size), row.data);
        EXPECT_EQ(buffer[size], 0xEE) << "wrote past the data";
    }
}

TEST_F(RegistryValues, TooSmallBufferGivesMoreDataAndTheSize) {
    ASSERT_EQ(Set(TEXT("v"), REG_SZ, Bytes({'a', 0, 'b', 0, 'c', 0, 0, 0})), ERROR_SUCCESS);
    struct Row {
        int line;
        DWORD offered;
        LONG status;
        DWORD sizeAfter;
    };
    const Row rows[] = {
        {__LINE__, 0, ERROR_MORE_DATA, 8}, {__LINE__, 4, ERROR_MORE_DATA, 8},
        {__LINE__, 7, ERROR_MORE_DATA, 8}, {__LINE__, 8, ERROR_SUCCESS, 8},
        {__LINE__, 9, ERROR_SUCCESS, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        BYTE buffer[16];
        std::memset(buffer, 0xEE, sizeof buffer);
        DWORD size = row.offered;
        DWORD type = 0;
        EXPECT_EQ(RegQueryValueExW(key_, TEXT("v"), nullptr, &type, buffer, &size), row.status);
        EXPECT_EQ(size, row.sizeAfter);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        // Nothing lands beyond what was offered.
        for (DWORD i = row.offered < 8 ? row.offered : 8; i < sizeof buffer; ++i)
            EXPECT_EQ(buffer[i], 0xEE) << "byte " << i;
    }
}

TEST_F(RegistryValues, NamesIgnoreCaseAndTheEmptyNameIsTheDefaultValue) {
    ASSERT_EQ(Set(TEXT("OnList"), REG_BINARY, Bytes({1})), ERROR_SUCCESS);
    ASSERT_EQ(Set(TEXT("ONLIST"), REG_BINARY, Bytes({2, 2})), ERROR_SUCCESS);
    ASSERT_EQ(Set(nullptr, REG_BINARY, Bytes({3, 3, 3})), ERROR_SUCCESS);
    struct Row {
        int line;
        const WCHAR* name;
        DWORD size;
    };
    const Row rows[] = {
        {__LINE__, TEXT("onlist"), 2},
        {__LINE__, TEXT("OnList"), 2},
        {__LINE__, nullptr, 3},
        {__LINE__, TEXT(""), 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExW(key_, row.name, nullptr, nullptr, nullptr, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(size, row.size);
    }
    // One value, still under the name it was first written with.
    const sim::RegKeyNode* node = device.registry.Root(HKEY_CURRENT_USER)
                                      ->children.at(TEXT("software"))
                                      ->children.at(TEXT("test"))
                                      .get();
    ASSERT_EQ(node->values.size(), 2u);
    EXPECT_EQ(node->values[0].name, WString(TEXT("OnList")));
    EXPECT_EQ(node->values[1].name, WString());
}

// A queried name finds the value whose whole name it is, in any letter case; a name that is
// only the start of another, or longer, or different in one letter finds nothing.
TEST_F(RegistryValues, AQueryFindsOnlyTheWholeNameInAnyCase) {
    const WCHAR greekUpper[] = {0x391, 0x392, 0x393, 0};
    const WCHAR greekLower[] = {0x3B1, 0x3B2, 0x3B3, 0};
    ASSERT_EQ(Set(TEXT("StackMode"), REG_BINARY, Bytes({1})), ERROR_SUCCESS);
    ASSERT_EQ(Set(TEXT("Stack"), REG_BINARY, Bytes({2})), ERROR_SUCCESS);
    ASSERT_EQ(Set(greekUpper, REG_BINARY, Bytes({3})), ERROR_SUCCESS);
    ASSERT_EQ(Set(TEXT("a-b"), REG_BINARY, Bytes({4})), ERROR_SUCCESS);
    // A name read from a file may hold a NUL; no name a caller passes can reach it.
    ASSERT_TRUE(device.registry.Put(HKEY_CURRENT_USER, TEXT("software\\Test"),
                                    WString(TEXT("z\0y"), 3), REG_BINARY, Bytes({5})));
    struct Row {
        int line;
        const WCHAR* name;
        int found; // the value's byte; 0: ERROR_FILE_NOT_FOUND
    };
    const Row rows[] = {
        {__LINE__, TEXT("StackMode"), 1}, {__LINE__, TEXT("stackmode"), 1},
        {__LINE__, TEXT("STACKMODE"), 1}, {__LINE__, TEXT("stackmodE"), 1},
        {__LINE__, TEXT("StackMod"), 0},  {__LINE__, TEXT("StackModes"), 0},
        {__LINE__, TEXT("StackNode"), 0}, {__LINE__, TEXT("Stack"), 2},
        {__LINE__, TEXT("sTACK"), 2},     {__LINE__, greekLower, 3},
        {__LINE__, greekUpper, 3},        {__LINE__, TEXT("A-B"), 4},
        {__LINE__, TEXT("a_b"), 0},       {__LINE__, TEXT("z"), 0},
        {__LINE__, TEXT(""), 0},          {__LINE__, nullptr, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        BYTE data = 0;
        DWORD size = sizeof data;
        const LONG status = RegQueryValueExW(key_, row.name, nullptr, nullptr, &data, &size);
        if (row.found == 0) {
            EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
        } else {
            EXPECT_EQ(status, ERROR_SUCCESS);
            EXPECT_EQ(data, row.found);
        }
    }
    EXPECT_NE(
        device.registry.Find(HKEY_CURRENT_USER, TEXT("software\\test"), WString(TEXT("Z\0Y"), 3)),
        nullptr);
}

TEST_F(RegistryValues, BadQueriesAndSets) {
    ASSERT_EQ(Set(TEXT("v"), REG_DWORD, Bytes({1, 0, 0, 0})), ERROR_SUCCESS);
    BYTE buffer[4] = {};
    DWORD size = 4;
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("missing"), nullptr, nullptr, buffer, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("v"), nullptr, nullptr, buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("v"), &reserved, nullptr, buffer, &size),
              ERROR_INVALID_PARAMETER);
    // Neither data nor size: only whether the value exists.
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("v"), nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key_, TEXT("w"), 0, REG_BINARY, nullptr, 3), ERROR_NOACCESS);
    EXPECT_EQ(RegSetValueExW(key_, TEXT("w"), 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    size = 99;
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("w"), nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RegSetValueExW(HKEY_CURRENT_USER, TEXT("root value"), 0, REG_BINARY, buffer, 1),
              ERROR_SUCCESS);
    EXPECT_NE(device.registry.Find(HKEY_CURRENT_USER, TEXT(""), TEXT("ROOT VALUE")), nullptr);
    EXPECT_EQ(RegSetValueExW(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x4444)), TEXT("v"), 0,
                             REG_BINARY, buffer, 1),
              ERROR_INVALID_HANDLE);
}

TEST_F(RegistryValues, ValueNamesStopAt16383Characters) {
    const WString longest(16383, u'n');
    const WString tooLong(16384, u'n');
    EXPECT_EQ(Set(longest.c_str(), REG_DWORD, Bytes({1, 0, 0, 0})), ERROR_SUCCESS);
    EXPECT_EQ(Set(tooLong.c_str(), REG_DWORD, Bytes({1, 0, 0, 0})), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key_, longest.c_str(), nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_FALSE(device.registry.Put(HKEY_CURRENT_USER, TEXT("x"), tooLong, REG_NONE, {}));
    EXPECT_EQ(device.registry.Find(HKEY_CURRENT_USER, TEXT("x"), tooLong), nullptr);
}

TEST_F(RegistryValues, DeleteValue) {
    ASSERT_EQ(Set(TEXT("a"), REG_BINARY, Bytes({1})), ERROR_SUCCESS);
    ASSERT_EQ(Set(TEXT("b"), REG_BINARY, Bytes({2})), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key_, TEXT("A")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key_, TEXT("a")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("a"), nullptr, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("b"), nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

// A key with many values is searched through an index: names still ignore case, a value set
// again keeps its place, and removals in the middle leave every other value found with its
// own bytes.
TEST_F(RegistryValues, AKeyWithManyValuesFindsEachOne) {
    constexpr int kCount = 100;
    auto name = [](int i) { return WString(TEXT("Value ")) + FromUtf8(std::to_string(i)); };
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(Set(name(i).c_str(), REG_BINARY, Bytes({i})), ERROR_SUCCESS);
    ASSERT_EQ(Set(TEXT("VALUE 7"), REG_BINARY, Bytes({200})), ERROR_SUCCESS);
    for (int i = 0; i < kCount; i += 3)
        ASSERT_EQ(RegDeleteValueW(key_, name(i).c_str()), ERROR_SUCCESS);
    ASSERT_EQ(Set(TEXT("value 0"), REG_BINARY, Bytes({201})), ERROR_SUCCESS);
    for (int i = 0; i < kCount; ++i) {
        SCOPED_TRACE(i);
        BYTE data = 0;
        DWORD size = sizeof data;
        const LONG status = RegQueryValueExW(key_, name(i).c_str(), nullptr, nullptr, &data, &size);
        if (i == 0) {
            EXPECT_EQ(status, ERROR_SUCCESS);
            EXPECT_EQ(data, 201);
        } else if (i % 3 == 0) {
            EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
        } else {
            EXPECT_EQ(status, ERROR_SUCCESS);
            EXPECT_EQ(data, i == 7 ? 200 : i);
        }
    }
}

TEST_F(RegistryValues, OneMebibyteValue) {
    std::vector<BYTE> big(1 << 20);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<BYTE>(i * 7 + i / 251);
    ASSERT_EQ(Set(TEXT("big"), REG_SZ, big), ERROR_SUCCESS);
    std::vector<BYTE> back(big.size());
    DWORD size = static_cast<DWORD>(back.size() - 1);
    EXPECT_EQ(RegQueryValueExW(key_, TEXT("big"), nullptr, nullptr, back.data(), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, big.size());
    ASSERT_EQ(RegQueryValueExW(key_, TEXT("big"), nullptr, nullptr, back.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(back, big);
}

TEST_F(RegistryValues, EveryCallIsTracedWithItsOutcome) {
    device.trace.Enable(true);
    const DWORD one = 1;
    HKEY sub = nullptr;
    DWORD disposition = 0;
    RegCreateKeyExW(key_, TEXT("Sub"), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                    nullptr, &sub, &disposition);
    RegSetValueExW(sub, TEXT("Mode"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
    RegSetValueExW(sub, TEXT("Text"), 0, REG_SZ, reinterpret_cast<const BYTE*>(u"hi"), 6);
    DWORD type = 0;
    DWORD size = 2;
    BYTE buffer[2];
    RegQueryValueExW(sub, TEXT("Mode"), nullptr, &type, buffer, &size);
    RegQueryValueExW(sub, TEXT("Mode"), nullptr, nullptr, nullptr, &size);
    RegQueryValueExW(sub, TEXT("None"), nullptr, &type, nullptr, &size);
    RegDeleteValueW(sub, TEXT("Text"));
    RegCloseKey(sub);
    HKEY missing = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("\\SOFTWARE\\Widcomm"), 0, KEY_ALL_ACCESS, &missing);
    RegDeleteKeyW(HKEY_CURRENT_USER, TEXT("software\\Test\\Sub"));
    const std::vector<std::string> expected = {
        "RegCreateKeyExW(0x1000, \"Sub\", 0, NULL, 0, 0x2001f, NULL, ->0x1004, ->1) = 0",
        "RegSetValueExW(0x1004, \"Mode\", 0, 4, 1, 4) = 0",
        "RegSetValueExW(0x1004, \"Text\", 0, 1, \"hi\", 6) = 0",
        "RegQueryValueExW(0x1004, \"Mode\", NULL, ->4, buf, 2->4) = 234",
        "RegQueryValueExW(0x1004, \"Mode\", NULL, NULL, NULL, 4->4) = 0",
        "RegQueryValueExW(0x1004, \"None\", NULL, ->?, NULL, 4->4) = 2",
        "RegDeleteValueW(0x1004, \"Text\") = 0",
        "RegCloseKey(0x1004) = 0",
        "RegOpenKeyExW(HKLM, \"\\SOFTWARE\\Widcomm\", 0, 0xf003f, ->NULL) = 2",
        "RegDeleteKeyW(HKCU, \"software\\Test\\Sub\") = 0",
    };
    EXPECT_EQ(device.trace.Texts(), expected);
    EXPECT_EQ(device.trace.Count("RegCreateKeyExW"), 2u); // the fixture's, unrecorded, too
}

} // namespace
