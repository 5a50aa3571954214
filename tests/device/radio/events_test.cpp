// Named events on the simulated device: opening or creating, auto-reset and manual-reset,
// per-process handles that are counted, and the WLAN software that waits on two of them.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/sim/radios.h"
#include "tests/support/device_test.h"

namespace {

using EventsTest = DeviceTest;

TEST_F(EventsTest, CreateOpensAnExistingNameAndCountsEveryHandle) {
    SetLastError(99);
    HANDLE first = CreateEventW(nullptr, FALSE, FALSE, TEXT("Kipo.Test"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateEventW(nullptr, TRUE, TRUE, TEXT("Kipo.Test"));
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    // Opening keeps the kind and state the creator gave it.
    const sim::Events::Event* event = device.events.Find(TEXT("Kipo.Test"));
    ASSERT_NE(event, nullptr);
    EXPECT_FALSE(event->manualReset);
    EXPECT_FALSE(event->signalled);
    EXPECT_EQ(event->handles, 2);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Event), 2);

    EXPECT_TRUE(EventModify(second, EVENT_SET));
    EXPECT_TRUE(device.events.IsSignalled(TEXT("Kipo.Test")));
    EXPECT_TRUE(EventModify(first, EVENT_RESET));
    EXPECT_FALSE(device.events.IsSignalled(TEXT("Kipo.Test")));

    EXPECT_TRUE(CloseHandle(first));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    // The last handle ends a name nobody else holds.
    EXPECT_FALSE(device.events.Exists(TEXT("Kipo.Test")));
}

TEST_F(EventsTest, NamesAreCaseSensitiveAndUnnamedEventsAreDistinct) {
    HANDLE upper = CreateEventW(nullptr, FALSE, FALSE, TEXT("Name"));
    HANDLE lower = CreateEventW(nullptr, FALSE, FALSE, TEXT("name"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE a = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE b = CreateEventW(nullptr, FALSE, FALSE, TEXT(""));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EventModify(a, EVENT_SET);
    EXPECT_FALSE(device.events.IsSignalled(TEXT("")));
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 4);
    for (HANDLE h : {upper, lower, a, b})
        EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

TEST_F(EventsTest, BadHandlesAndOperationsFailWithoutChangingCounts) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, TEXT("E"));
    SetLastError(0);
    EXPECT_FALSE(EventModify(event, 4));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(EventModify(nullptr, EVENT_SET));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CloseHandle(event));
    // A closed handle stays invalid: values are never handed out twice.
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(EventModify(event, EVENT_SET));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

TEST_F(EventsTest, HandlesBelongToTheProcessThatOpenedThem) {
    const int other = device.CreateProcess(TEXT("\\Windows\\other.exe"));
    HANDLE theirs = nullptr;
    {
        sim::Device::ProcessScope scope(device, other);
        theirs = CreateEventW(nullptr, FALSE, FALSE, TEXT("Shared"));
    }
    HANDLE ours = CreateEventW(nullptr, FALSE, FALSE, TEXT("Shared"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(device.OpenHandles(other, sim::HandleKind::Event), 1);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Event), 1);
    EXPECT_FALSE(CloseHandle(theirs));
    EXPECT_FALSE(EventModify(theirs, EVENT_SET));
    EXPECT_TRUE(CloseHandle(ours));
    // The other process still holds the name.
    EXPECT_TRUE(device.events.Exists(TEXT("Shared")));
    EXPECT_EQ(device.OpenHandles(other, sim::HandleKind::Event), 1);
}

TEST_F(EventsTest, OverlongNamesAndNamesMadeToFailAreRefused) {
    const WString longName(261, u'x');
    SetLastError(0);
    EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, longName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    const WString longest(260, u'x');
    HANDLE fits = CreateEventW(nullptr, FALSE, FALSE, longest.c_str());
    EXPECT_NE(fits, nullptr);
    CloseHandle(fits);

    device.events.FailOpening(TEXT("Taken"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, TEXT("Taken")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(CreateEventW(nullptr, FALSE, FALSE, TEXT("Taken")), nullptr);
    device.events.FailOpening(TEXT("Taken"), 0);
    HANDLE now = CreateEventW(nullptr, FALSE, FALSE, TEXT("Taken"));
    EXPECT_NE(now, nullptr);
    CloseHandle(now);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

TEST_F(EventsTest, AutoResetPulseAndManualResetKeepTheirStates) {
    HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, TEXT("Manual"));
    HANDLE automatic = CreateEventW(nullptr, FALSE, TRUE, TEXT("Auto"));
    EXPECT_TRUE(device.events.IsSignalled(TEXT("Auto")));
    EventModify(manual, EVENT_SET);
    EXPECT_TRUE(device.events.IsSignalled(TEXT("Manual")));
    EventModify(manual, EVENT_PULSE);
    EXPECT_FALSE(device.events.IsSignalled(TEXT("Manual")));
    EXPECT_TRUE(SetEvent(manual));
    EXPECT_TRUE(device.events.IsSignalled(TEXT("Manual")));
    EXPECT_TRUE(ResetEvent(manual));
    EXPECT_FALSE(device.events.IsSignalled(TEXT("Manual")));
    EXPECT_EQ(device.events.Find(TEXT("Manual"))->sets, 3);
    EXPECT_EQ(device.events.Find(TEXT("Manual"))->resets, 1);
    CloseHandle(manual);
    CloseHandle(automatic);
}

TEST_F(EventsTest, TheWlanSoftwareHoldsItsEventsAndTakesTheSignalsItWaitsFor) {
    sim::SetUpWifi(device, model::WlanSetUp::Stuck);
    for (const WCHAR* name : {TEXT("WALNStatusChangeEvent"), TEXT("ShouldLockWlanUI"),
                              TEXT("ShouldUnLockWlanUI"), TEXT("WLANDetectInsertPCMCIA")}) {
        SCOPED_TRACE(ToUtf8(name));
        EXPECT_TRUE(device.events.Exists(name));
        HANDLE h = CreateEventW(nullptr, FALSE, FALSE, name);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        EventModify(h, EVENT_SET);
        CloseHandle(h);
        EXPECT_TRUE(device.events.Exists(name));
    }
    // The software waits on the two it reacts to: their auto-reset signal is taken.
    EXPECT_FALSE(device.events.IsSignalled(TEXT("WALNStatusChangeEvent")));
    EXPECT_FALSE(device.events.IsSignalled(TEXT("WLANDetectInsertPCMCIA")));
    EXPECT_TRUE(device.events.IsSignalled(TEXT("ShouldLockWlanUI")));
    EXPECT_EQ(device.handheld.wlan.StatusChanges(), 1);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

TEST_F(EventsTest, WithoutAnAdapterNothingWaitsAndASetEventStaysSet) {
    sim::SetUpWifi(device, model::WlanSetUp::Absent);
    HANDLE h = CreateEventW(nullptr, FALSE, FALSE, TEXT("WLANDetectInsertPCMCIA"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EventModify(h, EVENT_SET);
    EXPECT_TRUE(device.events.IsSignalled(TEXT("WLANDetectInsertPCMCIA")));
    CloseHandle(h);
    EXPECT_FALSE(device.events.Exists(TEXT("WLANDetectInsertPCMCIA")));
}

TEST_F(EventsTest, TraceNamesEventHandlesSoRunsCompareEqual) {
    device.trace.Enable(true);
    HANDLE h = CreateEventW(nullptr, FALSE, FALSE, TEXT("Traced"));
    EventModify(h, EVENT_SET);
    CloseHandle(h);
    CloseHandle(h);
    const auto texts = device.trace.Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "CreateEventW(NULL, 0, 0, \"Traced\") = <Traced>");
    EXPECT_EQ(texts[1], "EventModify(<Traced>, 3) = 1");
    EXPECT_EQ(texts[2], "CloseHandle(<Traced>) = 1");
    EXPECT_EQ(texts[3].rfind("CloseHandle(0x", 0), 0u) << texts[3];
    EXPECT_EQ(texts[3].substr(texts[3].size() - 4), " = 0");
}

TEST_F(EventsTest, MutexHandlesAreCountedApartPerProcessAndOwnershipIsAbandonedWithTheOwner) {
    const int other = device.CreateProcess(TEXT("\\Windows\\other.exe"));
    HANDLE mine = CreateMutexW(nullptr, TRUE, TEXT("Kipo.Instance"));
    ASSERT_NE(mine, nullptr);
    HANDLE theirs = nullptr;
    {
        sim::Device::ProcessScope scope(device, other);
        theirs = CreateMutexW(nullptr, TRUE, TEXT("Kipo.Instance"));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        EXPECT_FALSE(CloseHandle(mine)) << "another process's handle";
    }
    ASSERT_NE(theirs, nullptr);
    const sim::Events::Event* mutex = device.events.Find(TEXT("Kipo.Instance"));
    ASSERT_NE(mutex, nullptr);
    EXPECT_TRUE(mutex->mutex);
    EXPECT_EQ(mutex->owner, sim::kProgramProcess) << "opening does not take ownership";
    EXPECT_EQ(mutex->handles, 2);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Mutex), 1);
    EXPECT_EQ(device.OpenHandles(other, sim::HandleKind::Mutex), 1);
    // The leak count is of the handles a program opens and closes while it works.
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Event), 0);

    EXPECT_TRUE(CloseHandle(mine));
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Mutex), 0);
    EXPECT_EQ(mutex->owner, 0) << "abandoned with its owner's last handle";
    {
        sim::Device::ProcessScope scope(device, other);
        EXPECT_TRUE(CloseHandle(theirs));
    }
    EXPECT_FALSE(device.events.Exists(TEXT("Kipo.Instance")));
    EXPECT_EQ(device.OpenHandles(other, sim::HandleKind::Mutex), 0);

    device.trace.Enable(true);
    HANDLE traced = CreateMutexW(nullptr, FALSE, TEXT("Traced"));
    CloseHandle(traced);
    const auto texts = device.trace.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "CreateMutexW(NULL, 0, \"Traced\") = <Traced>");
    EXPECT_EQ(texts[1], "CloseHandle(<Traced>) = 1");
}

} // namespace
