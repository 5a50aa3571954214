// The fresh device itself: every other test's handle check and clean registry rest on it, on
// the simulated device and under Wine alike.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

const WCHAR kProgramKey[] = TEXT("Software\\Kipo\\FreshDeviceTest\\Settings");
const WCHAR kWidcommKey[] = TEXT("SOFTWARE\\Widcomm\\BtConfig\\General");

LONG WriteDword(HKEY root, const WCHAR* path, const WCHAR* name, DWORD value) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result =
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS)
        return result;
    result = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value));
    RegCloseKey(key);
    return result;
}

LONG OpenResult(HKEY root, const WCHAR* path) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExW(root, path, 0, KEY_READ, &key);
    if (result == ERROR_SUCCESS)
        RegCloseKey(key);
    return result;
}

} // namespace

TEST(FreshDevice, CountsRegistryKeysLeftOpen) {
    FreshDevice device;
    EXPECT_EQ(device.OpenHandles(), 0);
    HKEY first = nullptr;
    HKEY second = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &first, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(device.OpenHandles(), 1);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &second), ERROR_SUCCESS);
    EXPECT_EQ(device.OpenHandles(), 2);
    EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    EXPECT_EQ(device.OpenHandles(), 1);
    EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS);
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST(FreshDevice, PredefinedRootsAreNotCounted) {
    FreshDevice device;
    // First use of each root, as a program's first registry call makes it.
    EXPECT_EQ(OpenResult(HKEY_CURRENT_USER, TEXT("Software\\Kipo")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenResult(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST(FreshDevice, CountsEventsLeftOpen) {
    FreshDevice device;
    HANDLE created = CreateEventW(nullptr, FALSE, FALSE, TEXT("KipoFreshDeviceTest"));
    ASSERT_NE(created, nullptr);
    HANDLE opened = CreateEventW(nullptr, FALSE, FALSE, TEXT("KipoFreshDeviceTest"));
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(device.OpenHandles(), 2);
    CloseHandle(created);
    CloseHandle(opened);
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST(FreshDevice, StartsWithoutTheKeysAnEarlierTestWrote) {
    {
        FreshDevice device;
        ASSERT_EQ(WriteDword(HKEY_CURRENT_USER, kProgramKey, TEXT("KeepPDAOn"), 1), ERROR_SUCCESS);
        ASSERT_EQ(WriteDword(HKEY_LOCAL_MACHINE, kWidcommKey, TEXT("StackMode"), 1), ERROR_SUCCESS);
        EXPECT_EQ(OpenResult(HKEY_CURRENT_USER, kProgramKey), ERROR_SUCCESS);
        EXPECT_EQ(OpenResult(HKEY_LOCAL_MACHINE, kWidcommKey), ERROR_SUCCESS);
    }
    FreshDevice device;
    EXPECT_EQ(OpenResult(HKEY_CURRENT_USER, TEXT("Software\\Kipo")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenResult(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(device.OpenHandles(), 0);
}
