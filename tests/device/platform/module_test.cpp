// The executable's module: its path as a device setting, and truncation as Windows does it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "tests/support/device_test.h"

namespace {

using ModuleName = DeviceTest;

TEST_F(ModuleName, PathIsTheProcessExecutableTruncatedAsWindowsDoes) {
    device.SetProgramPath(TEXT("\\Windows\\Kipo.exe")); // 17 characters
    struct Row {
        int line;
        DWORD size;
        DWORD result;
        const WCHAR* text;
        DWORD error; // last error after the call (it starts at 1234)
    };
    const Row rows[] = {
        {__LINE__, 260, 17, TEXT("\\Windows\\Kipo.exe"), 1234},
        {__LINE__, 18, 17, TEXT("\\Windows\\Kipo.exe"), 1234},
        {__LINE__, 17, 17, TEXT("\\Windows\\Kipo.ex"), ERROR_INSUFFICIENT_BUFFER},
        {__LINE__, 5, 5, TEXT("\\Win"), ERROR_INSUFFICIENT_BUFFER},
        {__LINE__, 1, 1, TEXT(""), ERROR_INSUFFICIENT_BUFFER},
        {__LINE__, 0, 0, nullptr, ERROR_INSUFFICIENT_BUFFER},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        std::vector<WCHAR> buffer(300, u'#');
        SetLastError(1234);
        EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), row.size), row.result);
        EXPECT_EQ(GetLastError(), row.error);
        if (row.text != nullptr) {
            EXPECT_EQ(WString(buffer.data()), WString(row.text));
        }
        EXPECT_EQ(buffer[row.size], u'#') << "wrote past the buffer";
    }
}

TEST_F(ModuleName, EachProcessSeesItsOwnExecutable) {
    WCHAR buffer[64];
    ASSERT_GT(GetModuleFileNameW(nullptr, buffer, 64), 0u);
    EXPECT_EQ(WString(buffer), WString(TEXT("\\Program Files\\Kipo\\Kipo.exe")));
    {
        sim::Device::ProcessScope shell(device, sim::kShellProcess);
        ASSERT_GT(GetModuleFileNameW(nullptr, buffer, 64), 0u);
        EXPECT_EQ(WString(buffer), WString(TEXT("\\Windows\\shell32.exe")));
    }
}

TEST_F(ModuleName, ModuleHandles) {
    HMODULE self = GetModuleHandleW(nullptr);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(GetModuleHandleW(TEXT("KIPO.EXE")), self);
    EXPECT_EQ(GetModuleHandleW(TEXT("\\program files\\kipo\\kipo.exe")), self);
    EXPECT_EQ(GetModuleHandleW(TEXT("Other.exe")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    WCHAR buffer[64];
    EXPECT_EQ(GetModuleFileNameW(self, buffer, 64), 28u);
    EXPECT_EQ(
        GetModuleFileNameW(reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x5555)), buffer, 64),
        0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
