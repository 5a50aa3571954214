// The Windows CE services through their Win32 entry points: the simulated device and the
// Windows build answer from the same device model, and must answer alike. Under Wine the
// named events are Windows' own, so this also shows the model's WLAN software hearing them.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "tests/support/fresh_device.h"

namespace {

const WCHAR* const kWlan = model::WlanAdapter::kDeviceName;

BOOL SlotPower(DWORD on) {
    DWORD returned = 0xFFFF;
    return KernelIoControl(model::WlanAdapter::kSlotPowerCode, &on, sizeof on, nullptr, 0,
                           &returned);
}

DWORD CardStatus(BOOL* result) {
    DWORD status = 0xFFFF;
    DWORD returned = 0;
    *result = KernelIoControl(model::WlanAdapter::kCardStatusCode, nullptr, 0, &status,
                              sizeof status, &returned);
    return status;
}

// Opens (or creates) the named event, applies `func`, closes it again.
BOOL ModifyNamed(const WCHAR* name, DWORD func) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, name);
    if (event == nullptr)
        return FALSE;
    const BOOL result = EventModify(event, func);
    CloseHandle(event);
    return result;
}

CEDEVICE_POWER_STATE PowerOf(const WCHAR* device, DWORD* result) {
    CEDEVICE_POWER_STATE state = PwrDeviceUnspecified;
    *result = GetDevicePower(device, POWER_NAME, &state);
    return state;
}

} // namespace

TEST(PowerManager, WlanAdapterInEachSetUp) {
    struct Row {
        int line;
        model::WlanSetUp setUp;
        bool getSucceeds;
        CEDEVICE_POWER_STATE before;
        bool d0Accepted;
        bool onAfterD0;
    };
    const Row rows[] = {
        {__LINE__, model::WlanSetUp::On, true, D0, true, true},
        {__LINE__, model::WlanSetUp::Off, true, D4, true, true},
        {__LINE__, model::WlanSetUp::Stuck, true, D4, false, false},
        {__LINE__, model::WlanSetUp::Absent, false, PwrDeviceUnspecified, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        device.Handheld().wlan.SetUp(row.setUp);
        DWORD result = 0;
        const CEDEVICE_POWER_STATE before = PowerOf(kWlan, &result);
        EXPECT_EQ(result == ERROR_SUCCESS, row.getSucceeds);
        if (row.getSucceeds) {
            EXPECT_EQ(before, row.before);
        }
        EXPECT_EQ(SetDevicePower(kWlan, POWER_NAME, D0) == ERROR_SUCCESS, row.d0Accepted);
        EXPECT_EQ(device.Handheld().wlan.IsOn(), row.onAfterD0);
        EXPECT_EQ(SetDevicePower(kWlan, POWER_NAME, D4) == ERROR_SUCCESS, row.getSucceeds);
        EXPECT_FALSE(device.Handheld().wlan.IsOn());
    }
}

TEST(PowerManager, StuckAdapterWakesOnlyAfterTheWholeSequence) {
    struct Step {
        bool slotPower;
        bool detectEvent;
    };
    // Each part of the sequence alone leaves the card refusing full power.
    const Step partial[] = {{false, false}, {true, false}, {false, true}};
    for (const Step& step : partial) {
        SCOPED_TRACE(testing::Message()
                     << "slot " << step.slotPower << " event " << step.detectEvent);
        FreshDevice device;
        device.Handheld().wlan.SetUp(model::WlanSetUp::Stuck);
        if (step.slotPower) {
            EXPECT_TRUE(SlotPower(1));
        }
        if (step.detectEvent) {
            EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kDetectEvent, EVENT_SET));
        }
        BOOL result = FALSE;
        EXPECT_EQ(CardStatus(&result), 0u);
        EXPECT_TRUE(result);
        EXPECT_NE(SetDevicePower(kWlan, POWER_NAME, D0), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(device.OpenHandles(), 0);
    }

    FreshDevice device;
    device.Handheld().wlan.SetUp(model::WlanSetUp::Stuck);
    EXPECT_TRUE(SlotPower(1));
    EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kDetectEvent, EVENT_SET));
    EXPECT_TRUE(device.Handheld().wlan.CardDetected());
    BOOL result = FALSE;
    EXPECT_EQ(CardStatus(&result), 1u);
    EXPECT_TRUE(result);
    DWORD getResult = 0;
    EXPECT_EQ(PowerOf(kWlan, &getResult), D0);
    EXPECT_EQ(getResult, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(device.Handheld().wlan.Wakes(), 1);
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST(NamedEvents, WlanSoftwareHearsSetsAndResetsByName) {
    FreshDevice device;
    device.Handheld().wlan.SetUp(model::WlanSetUp::Off);
    EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kStatusEvent, EVENT_SET));
    EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kLockEvent, EVENT_RESET));
    EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kUnlockEvent, EVENT_RESET));
    EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kUnlockEvent, EVENT_RESET));
    // Names are exact: another name, or a reset of the status event, is not a status change.
    EXPECT_TRUE(ModifyNamed(TEXT("WALNStatusChangeEventX"), EVENT_SET));
    EXPECT_TRUE(ModifyNamed(model::WlanAdapter::kStatusEvent, EVENT_RESET));
    EXPECT_EQ(device.Handheld().wlan.StatusChanges(), 1);
    EXPECT_EQ(device.Handheld().wlan.LockResets(), 1);
    EXPECT_EQ(device.Handheld().wlan.UnlockResets(), 2);

    // An unnamed event reaches nobody; a function other than set, reset or pulse fails.
    HANDLE unnamed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_TRUE(EventModify(unnamed, EVENT_SET));
    EXPECT_TRUE(EventModify(unnamed, EVENT_RESET));
    EXPECT_FALSE(EventModify(unnamed, 0));
    EXPECT_FALSE(EventModify(unnamed, 4));
    CloseHandle(unnamed);
    EXPECT_EQ(device.Handheld().wlan.StatusChanges(), 1);
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST(KernelIoControl, UnknownCodesAndShortBuffersFail) {
    FreshDevice device;
    DWORD value = 1;
    DWORD returned = 0;
    EXPECT_FALSE(KernelIoControl(0x01010000, &value, sizeof value, nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_FALSE(
        KernelIoControl(model::WlanAdapter::kSlotPowerCode, nullptr, 0, nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    BYTE shortBuffer[2] = {};
    EXPECT_FALSE(KernelIoControl(model::WlanAdapter::kCardStatusCode, nullptr, 0, shortBuffer,
                                 sizeof shortBuffer, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_EQ(device.Handheld().ioControls.Records().size(), 3u);
    EXPECT_EQ(device.Handheld().ioControls.Records()[0].code, 0x01010000u);
}

TEST(BluetoothLibrary, ModeOnlyWithTheMicrosoftStack) {
    struct Row {
        int line;
        model::BluetoothStack stack;
        DWORD set;
        int setResult;
        int getResult;
        DWORD got;
    };
    const Row rows[] = {
        {__LINE__, model::BluetoothStack::Microsoft, 1, ERROR_SUCCESS, ERROR_SUCCESS, 1},
        {__LINE__, model::BluetoothStack::Microsoft, 2, ERROR_SUCCESS, ERROR_SUCCESS, 2},
        {__LINE__, model::BluetoothStack::Microsoft, 3, ERROR_INVALID_PARAMETER, ERROR_SUCCESS, 0},
        {__LINE__, model::BluetoothStack::Widcomm, 1, ERROR_SERVICE_NOT_ACTIVE,
         ERROR_SERVICE_NOT_ACTIVE, 7},
        {__LINE__, model::BluetoothStack::None, 1, ERROR_SERVICE_NOT_ACTIVE,
         ERROR_SERVICE_NOT_ACTIVE, 7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        device.Handheld().bluetooth.SetStack(row.stack);
        EXPECT_EQ(BthSetMode(row.set), row.setResult);
        DWORD mode = 7;
        EXPECT_EQ(BthGetMode(&mode), row.getResult);
        EXPECT_EQ(mode, row.got);
        EXPECT_EQ(BthGetMode(nullptr), ERROR_INVALID_PARAMETER);
    }
}

TEST(IdleTimer, EveryResetIsCounted) {
    FreshDevice device;
    EXPECT_EQ(device.Handheld().idle.Resets(), 0);
    SystemIdleTimerReset();
    SystemIdleTimerReset();
    EXPECT_EQ(device.Handheld().idle.Resets(), 2);
}
