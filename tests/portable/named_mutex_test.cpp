// Named mutexes through their Win32 entry points, as a running program marks itself: the name
// is the program's, a second opening sees it taken, and it goes with the last handle. Events
// and mutexes share one name space. Under Wine these are Windows' own objects.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

const WCHAR* const kName = TEXT("Kipo.Test.Instance");

// CreateMutexW and the last error it leaves.
struct Opened {
    HANDLE handle;
    DWORD error;
};

Opened OpenMutex(const WCHAR* name) {
    SetLastError(ERROR_GEN_FAILURE); // to show that the call sets it
    HANDLE handle = CreateMutexW(nullptr, FALSE, name);
    return Opened{handle, GetLastError()};
}

} // namespace

TEST(NamedMutex, SecondOpeningSeesTheNameTakenUntilTheLastHandleCloses) {
    FreshDevice device;
    const Opened first = OpenMutex(kName);
    ASSERT_NE(first.handle, nullptr);
    EXPECT_EQ(first.error, static_cast<DWORD>(ERROR_SUCCESS));

    const Opened second = OpenMutex(kName);
    ASSERT_NE(second.handle, nullptr);
    EXPECT_EQ(second.error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_NE(second.handle, first.handle) << "a handle of its own to the same mutex";

    // Another name is another object.
    const Opened other = OpenMutex(TEXT("Kipo.Test.Other"));
    ASSERT_NE(other.handle, nullptr);
    EXPECT_EQ(other.error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(CloseHandle(other.handle));

    // One handle left keeps the name taken.
    EXPECT_TRUE(CloseHandle(first.handle));
    const Opened third = OpenMutex(kName);
    ASSERT_NE(third.handle, nullptr);
    EXPECT_EQ(third.error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CloseHandle(third.handle));
    EXPECT_TRUE(CloseHandle(second.handle));

    // With the last handle closed the name is free again.
    const Opened again = OpenMutex(kName);
    ASSERT_NE(again.handle, nullptr);
    EXPECT_EQ(again.error, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(CloseHandle(again.handle));
    EXPECT_FALSE(CloseHandle(again.handle)) << "a closed handle is not closed twice";
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST(NamedMutex, EventsAndMutexesShareOneNameSpace) {
    FreshDevice device;
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, kName);
    ASSERT_NE(event, nullptr);
    const Opened clash = OpenMutex(kName);
    EXPECT_EQ(clash.handle, nullptr);
    EXPECT_EQ(clash.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CloseHandle(event));

    const Opened mutex = OpenMutex(kName);
    ASSERT_NE(mutex.handle, nullptr);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, kName), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(SetEvent(mutex.handle)) << "a mutex is not an event";
    EXPECT_TRUE(CloseHandle(mutex.handle));
    EXPECT_EQ(device.OpenHandles(), 0);
}
