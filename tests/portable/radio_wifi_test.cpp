// WiFi control of the main frame through Win32 calls only, on the simulated device and under
// Wine: each adapter set-up ends where it should, and the wake sequence leaves no handle open.
#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "tests/support/fresh_device.h"

namespace {

struct Row {
    int line;
    model::WlanSetUp setUp;
    bool on; // TurnWifiOn, else TurnWifiOff
    int force;
    bool onAfter;
    int wakes; // wake sequences that brought the card up
};

TEST(RadioWifi, TurnOperationsInEachAdapterSetUp) {
    const Row rows[] = {
        {__LINE__, model::WlanSetUp::On, true, 0, true, 0},
        {__LINE__, model::WlanSetUp::On, false, 0, false, 0},
        {__LINE__, model::WlanSetUp::Off, true, 0, true, 0},
        {__LINE__, model::WlanSetUp::Off, false, 1, false, 0},
        {__LINE__, model::WlanSetUp::Stuck, true, 0, true, 1},
        {__LINE__, model::WlanSetUp::Stuck, true, 1, true, 1},
        {__LINE__, model::WlanSetUp::Stuck, false, 0, false, 0},
        {__LINE__, model::WlanSetUp::Broken, true, 0, false, 0},
        {__LINE__, model::WlanSetUp::Broken, true, 1, false, 0},
        {__LINE__, model::WlanSetUp::Absent, true, 0, false, 0},
        {__LINE__, model::WlanSetUp::Absent, false, 1, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        device.Handheld().wlan.SetUp(row.setUp);
        CSettingsStore store;
        CMainFrame frame(store);
        if (row.on)
            frame.TurnWifiOn(row.force);
        else
            frame.TurnWifiOff(row.force);
        EXPECT_EQ(frame.IsWifiOn(), row.onAfter ? 1 : 0);
        EXPECT_EQ(device.Handheld().wlan.IsOn(), row.onAfter);
        EXPECT_EQ(device.Handheld().wlan.Wakes(), row.wakes);
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}

TEST(RadioWifi, WakeSequenceTalksToTheWlanSoftwareInOrder) {
    FreshDevice device;
    device.Handheld().wlan.SetUp(model::WlanSetUp::Stuck);
    CSettingsStore store;
    CMainFrame frame(store);
    frame.WlanWakeSequence();
    EXPECT_EQ(device.Handheld().wlan.StatusChanges(), 1);
    EXPECT_EQ(device.Handheld().wlan.LockResets(), 1);
    EXPECT_EQ(device.Handheld().wlan.UnlockResets(), 1);
    const auto& records = device.Handheld().ioControls.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].code, 0x01010127u);
    EXPECT_EQ(model::IoControlLog::FirstDword(records[0].in), 1u);
    EXPECT_EQ(records[0].inSize, 4u);
    EXPECT_FALSE(records[0].hasOut);
    EXPECT_FALSE(records[0].hasBytesReturned);
    EXPECT_EQ(records[1].code, 0x01010128u);
    EXPECT_FALSE(records[1].hasIn);
    EXPECT_EQ(model::IoControlLog::FirstDword(records[1].outBefore), 1u);
    EXPECT_EQ(records[1].outSize, 4u);
    EXPECT_TRUE(records[1].hasBytesReturned);
    EXPECT_EQ(records[1].bytesReturnedBefore, 0u);
    EXPECT_TRUE(device.Handheld().wlan.IsOn());
    EXPECT_EQ(device.OpenHandles(), 0);
}

// Every call asks afresh: a switch by hand between calls is seen.
TEST(RadioWifi, StateIsAskedOnEveryCall) {
    FreshDevice device;
    device.Handheld().wlan.SetUp(model::WlanSetUp::Off);
    CSettingsStore store;
    CMainFrame frame(store);
    frame.TurnWifiOn(0);
    EXPECT_EQ(frame.IsWifiOn(), 1);
    device.Handheld().wlan.UserSwitch(false);
    EXPECT_EQ(frame.IsWifiOn(), 0);
    frame.TurnWifiOn(0);
    EXPECT_EQ(frame.IsWifiOn(), 1);
}

} // namespace
