// The idle timer (resets counted, suspend moments noted) and the Microsoft Bluetooth
// library's mode on the simulated device.
#include <gtest/gtest.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sim/radios.h"
#include "tests/support/device_test.h"

namespace {

using IdleTimerTest = DeviceTest;
constexpr std::uint64_t kTimeout = model::IdleTimer::kTimeoutMs;

TEST_F(IdleTimerTest, ResetsAreCountedAndKeepTheDeviceAwake) {
    for (std::uint64_t t = 60000; t <= 600000; t += 60000) {
        device.SetNow(t);
        SystemIdleTimerReset();
    }
    EXPECT_EQ(device.handheld.idle.Resets(), 10);
    EXPECT_EQ(device.trace.Count("SystemIdleTimerReset"), 10u);
    EXPECT_EQ(device.handheld.idle.LastReset(), 600000u);
    // Without the resets it would have gone to sleep three minutes after boot.
    EXPECT_EQ(device.handheld.idle.SuspendWithoutResets(), kTimeout);
    EXPECT_TRUE(device.handheld.idle.Lapses(600000).empty());
    EXPECT_TRUE(device.handheld.idle.HeldAwakeByResets(600000));
    EXPECT_FALSE(device.handheld.idle.HeldAwakeByResets(kTimeout));
}

TEST_F(IdleTimerTest, GapsLongerThanTheTimeoutAreNotedAsSuspends) {
    device.SetNow(100000);
    SystemIdleTimerReset();
    device.SetNow(100000 + kTimeout + 1);
    SystemIdleTimerReset();
    const std::vector<std::uint64_t> expected = {100000 + kTimeout};
    EXPECT_EQ(device.handheld.idle.Lapses(device.Now()), expected);
    EXPECT_FALSE(device.handheld.idle.HeldAwakeByResets(device.Now()));
    // A gap still running counts too.
    const std::vector<std::uint64_t> pending = {100000 + kTimeout, 100001 + 2 * kTimeout};
    EXPECT_EQ(device.handheld.idle.Lapses(200002 + 2 * kTimeout), pending);
}

TEST_F(IdleTimerTest, UserActivityMovesTheSuspendMoment) {
    device.SetNow(50000);
    sim::UserSwitchWifi(device, true);
    EXPECT_EQ(device.handheld.idle.Resets(), 0);
    EXPECT_EQ(device.handheld.idle.SuspendWithoutResets(), 50000 + kTimeout);
    EXPECT_FALSE(device.handheld.idle.HeldAwakeByResets(50000 + kTimeout + 1));
}

struct ModeCase {
    int line;
    model::BluetoothStack stack;
    DWORD initialMode;
    DWORD request;
    int setResult;
    DWORD modeAfter;
};

const ModeCase kModeCases[] = {
    {__LINE__, model::BluetoothStack::Microsoft, 0, 1, ERROR_SUCCESS, 1},
    {__LINE__, model::BluetoothStack::Microsoft, 1, 0, ERROR_SUCCESS, 0},
    {__LINE__, model::BluetoothStack::Microsoft, 0, 2, ERROR_SUCCESS, 2},
    {__LINE__, model::BluetoothStack::Microsoft, 2, 3, ERROR_INVALID_PARAMETER, 2},
    // Without the Microsoft stack the library has no radio to drive.
    {__LINE__, model::BluetoothStack::Widcomm, 0, 1, ERROR_SERVICE_NOT_ACTIVE, 0},
    {__LINE__, model::BluetoothStack::None, 1, 0, ERROR_SERVICE_NOT_ACTIVE, 1},
};

TEST(BluetoothLibraryTest, SetModeAnswersByStack) {
    for (const ModeCase& c : kModeCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        device.handheld.bluetooth.SetStack(c.stack);
        device.handheld.bluetooth.SetRawMode(c.initialMode);
        EXPECT_EQ(BthSetMode(c.request), c.setResult);
        EXPECT_EQ(device.handheld.bluetooth.Mode(), c.modeAfter);
        DWORD mode = 77;
        const int got = BthGetMode(&mode);
        if (c.stack == model::BluetoothStack::Microsoft) {
            EXPECT_EQ(got, ERROR_SUCCESS);
            EXPECT_EQ(mode, c.modeAfter);
        } else {
            EXPECT_EQ(got, ERROR_SERVICE_NOT_ACTIVE);
            EXPECT_EQ(mode, 77u); // nothing delivered
        }
    }
}

TEST(BluetoothLibraryTest, GetModeWithoutAPointerFails) {
    sim::Device device;
    sim::SetUpBluetooth(device, model::BluetoothStack::Microsoft, true);
    EXPECT_EQ(BthGetMode(nullptr), ERROR_INVALID_PARAMETER);
}

TEST(BluetoothLibraryTest, UserSwitchKeepsADiscoverableRadioDiscoverable) {
    sim::Device device;
    sim::SetUpBluetooth(device, model::BluetoothStack::Microsoft, false);
    sim::UserSwitchBluetooth(device, true);
    EXPECT_EQ(device.handheld.bluetooth.Mode(), 1u);
    device.handheld.bluetooth.SetRawMode(2);
    sim::UserSwitchBluetooth(device, true);
    EXPECT_EQ(device.handheld.bluetooth.Mode(), 2u);
    sim::UserSwitchBluetooth(device, false);
    EXPECT_FALSE(sim::BluetoothIsOn(device));
}

} // namespace
