// Subkey paths as the program writes them: Windows CE reads a leading backslash as naming the
// same relative key (the Widcomm key is opened as "\SOFTWARE\Widcomm\BtConfig\General"), on
// the simulated device and, through the platform layer, on desktop Windows.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

LONG Create(HKEY root, const WCHAR* path, DWORD* disposition) {
    HKEY key = nullptr;
    const LONG result =
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition);
    if (result == ERROR_SUCCESS)
        RegCloseKey(key);
    return result;
}

LONG Open(HKEY root, const WCHAR* path) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExW(root, path, 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS)
        RegCloseKey(key);
    return result;
}

} // namespace

TEST(RegistryPaths, LeadingBackslashNamesTheSameKey) {
    struct Row {
        int line;
        HKEY root;
        const WCHAR* create;
        const WCHAR* open;
    };
    const Row rows[] = {
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"),
         TEXT("\\SOFTWARE\\Widcomm\\BtConfig\\General")},
        {__LINE__, HKEY_LOCAL_MACHINE, TEXT("\\SOFTWARE\\Widcomm\\BtConfig\\General"),
         TEXT("SOFTWARE\\Widcomm\\BtConfig\\General")},
        {__LINE__, HKEY_CURRENT_USER, TEXT("\\Software\\Kipo\\PathTest"),
         TEXT("Software\\Kipo\\PathTest")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        DWORD disposition = 0;
        ASSERT_EQ(Create(row.root, row.create, &disposition), ERROR_SUCCESS);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
        EXPECT_EQ(Open(row.root, row.open), ERROR_SUCCESS);
        EXPECT_EQ(Create(row.root, row.open, &disposition), ERROR_SUCCESS);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}

TEST(RegistryPaths, MissingKeysStayMissingWithOrWithoutTheBackslash) {
    FreshDevice device;
    EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, TEXT("\\SOFTWARE\\Widcomm\\BtConfig\\General")),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(device.OpenHandles(), 0);
}
