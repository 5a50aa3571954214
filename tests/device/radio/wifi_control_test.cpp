// WiFi control of the main frame: which power-manager requests each operation makes in each
// state of the adapter, and the wake sequence call by call, with every handle it opens closed
// before TurnWifiOn returns.
#include <gtest/gtest.h>

#include <source_location>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "platform/sim/radios.h"
#include "settings/settings_store.h"
#include "tests/support/sim/call_table.h"

namespace {

using Rows = std::vector<std::string>;

const std::string kName = "\"{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1\"";
std::string Get(const std::string& state, int result) {
    return "GetDevicePower(" + kName + ", 1, &" + state + ") = " + std::to_string(result);
}
std::string Set(int state, int result) {
    return "SetDevicePower(" + kName + ", 1, " + std::to_string(state) +
           ") = " + std::to_string(result);
}

// The wake sequence as the adapter's software expects it, step by step.
const Rows kWake = {
    "KernelIoControl(0x01010127, {01 00 00 00}, 4, NULL, 0, NULL) = 1",
    "CreateEventW(NULL, 0, 0, \"WALNStatusChangeEvent\") = <WALNStatusChangeEvent>",
    "EventModify(<WALNStatusChangeEvent>, 3) = 1",
    "CloseHandle(<WALNStatusChangeEvent>) = 1",
    "CreateEventW(NULL, 0, 0, \"ShouldLockWlanUI\") = <ShouldLockWlanUI>",
    "CreateEventW(NULL, 0, 0, \"ShouldUnLockWlanUI\") = <ShouldUnLockWlanUI>",
    "EventModify(<ShouldLockWlanUI>, 2) = 1",
    "EventModify(<ShouldUnLockWlanUI>, 2) = 1",
    "CreateEventW(NULL, 0, 0, \"WLANDetectInsertPCMCIA\") = <WLANDetectInsertPCMCIA>",
    "EventModify(<WLANDetectInsertPCMCIA>, 3) = 1",
    "CloseHandle(<WLANDetectInsertPCMCIA>) = 1",
    "Sleep(10)",
    "CloseHandle(<ShouldLockWlanUI>) = 1",
    "CloseHandle(<ShouldUnLockWlanUI>) = 1",
    "KernelIoControl(0x01010128, NULL, 0, {01 00 00 00}, 4, &0) = 1",
};

Rows Then(Rows rows, const Rows& more) {
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

enum class Op { On, Off };

struct WifiCase {
    std::source_location where = std::source_location::current();
    model::WlanSetUp setUp = model::WlanSetUp::Off;
    int state = -1; // a state other than the set-up's D0/D4, or -1
    Op op = Op::On;
    int force = 0;
    Rows calls;
    bool onAfter = false;
};

using enum model::WlanSetUp;

// clang-format off
const std::vector<WifiCase> kCases = {
    // At D0: on asks and stops; off asks and requests D4.
    {.setUp = On, .op = Op::On, .calls = {Get("0", 0)}, .onAfter = true},
    {.setUp = On, .op = Op::Off, .calls = {Get("0", 0), Set(4, 0)}, .onAfter = false},
    // At D4: the other way round.
    {.setUp = Off, .op = Op::On, .calls = {Get("4", 0), Set(0, 0)}, .onAfter = true},
    {.setUp = Off, .op = Op::Off, .calls = {Get("4", 0)}, .onAfter = false},
    // D1 to D3 count as off.
    {.setUp = Off, .state = 1, .op = Op::On, .calls = {Get("1", 0), Set(0, 0)}, .onAfter = true},
    {.setUp = Off, .state = 2, .op = Op::On, .calls = {Get("2", 0), Set(0, 0)}, .onAfter = true},
    {.setUp = Off, .state = 3, .op = Op::Off, .calls = {Get("3", 0)}, .onAfter = false},
    // Absent: the failed request reads as off, so off does nothing and on runs the whole
    // wake sequence after its D0 request fails.
    {.setUp = Absent, .op = Op::Off, .calls = {Get("0", 2)}, .onAfter = false},
    {.setUp = Absent, .op = Op::On, .calls = Then({Get("0", 2), Set(0, 2)}, kWake), .onAfter = false},
    // Stuck: D0 is refused; the wake sequence brings the adapter up.
    {.setUp = Stuck, .op = Op::On, .calls = Then({Get("4", 0), Set(0, 29)}, kWake), .onAfter = true},
    {.setUp = Stuck, .op = Op::Off, .calls = {Get("4", 0)}, .onAfter = false},
    // force skips the question, whatever the state.
    {.setUp = On, .op = Op::On, .force = 1, .calls = {Set(0, 0)}, .onAfter = true},
    {.setUp = Off, .op = Op::Off, .force = 1, .calls = {Set(4, 0)}, .onAfter = false},
    {.setUp = Off, .op = Op::On, .force = 7, .calls = {Set(0, 0)}, .onAfter = true},
    {.setUp = Stuck, .op = Op::On, .force = 1, .calls = Then({Set(0, 29)}, kWake), .onAfter = true},
    {.setUp = Absent, .op = Op::Off, .force = 1, .calls = {Set(4, 2)}, .onAfter = false},
};
// clang-format on

TEST(WifiControlTest, EachOperationMakesExactlyTheRequestsOfItsState) {
    for (const WifiCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.where.line());
        sim::Device device;
        sim::SetUpWifi(device, c.setUp);
        if (c.state >= 0)
            device.handheld.power.UpdateState(WlanDeviceName, c.state);
        CSettingsStore store;
        CMainFrame frame(store);
        device.trace.Enable(true);
        if (c.op == Op::On)
            frame.TurnWifiOn(c.force);
        else
            frame.TurnWifiOff(c.force);
        EXPECT_CALLS(device.trace, c.calls);
        EXPECT_EQ(sim::WifiIsOn(device), c.onAfter);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    }
}

struct IsCase {
    int line;
    model::WlanSetUp setUp;
    int state;
    int result;
};

TEST(WifiControlTest, IsWifiOnOnlyAtFullPower) {
    const IsCase cases[] = {
        {__LINE__, model::WlanSetUp::On, -1, 1},     {__LINE__, model::WlanSetUp::Off, -1, 0},
        {__LINE__, model::WlanSetUp::Off, 1, 0},     {__LINE__, model::WlanSetUp::Off, 3, 0},
        {__LINE__, model::WlanSetUp::Absent, -1, 0}, {__LINE__, model::WlanSetUp::Stuck, -1, 0},
    };
    for (const IsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        sim::SetUpWifi(device, c.setUp);
        if (c.state >= 0)
            device.handheld.power.UpdateState(WlanDeviceName, c.state);
        CSettingsStore store;
        CMainFrame frame(store);
        EXPECT_EQ(frame.IsWifiOn(), c.result);
        EXPECT_EQ(device.trace.Count("GetDevicePower"), 1u);
        EXPECT_EQ(device.trace.Count("SetDevicePower"), 0u);
    }
}

// The pause is the only moment two handles are open; none is left when the sequence ends.
TEST(WifiControlTest, WakeSequenceHoldsOnlyTheUiLockEventsAcrossThePause) {
    sim::Device device;
    sim::SetUpWifi(device, model::WlanSetUp::Stuck);
    CSettingsStore store;
    CMainFrame frame(store);
    std::vector<int> openAtCall;
    device.trace.SetListener([&](const sim::TraceCall& call) {
        if (call.process == sim::kProgramProcess)
            openAtCall.push_back(device.OpenHandles(sim::kProgramProcess));
    });
    frame.TurnWifiOn(0);
    device.trace.SetListener(nullptr);
    // Handles open after each call of: get, set, ioctl, status event x3, lock, unlock, two
    // resets, detect x3, sleep, two closes, ioctl.
    const std::vector<int> expected = {0, 0, 0, 1, 1, 0, 1, 2, 2, 2, 3, 3, 2, 2, 1, 0, 0};
    EXPECT_EQ(openAtCall, expected);
    EXPECT_TRUE(sim::WifiIsOn(device));
    EXPECT_EQ(device.handheld.wlan.LockResets(), 1);
    EXPECT_EQ(device.handheld.wlan.UnlockResets(), 1);
    EXPECT_EQ(device.handheld.wlan.Wakes(), 1);
}

struct FailCase {
    int line;
    std::vector<const WCHAR*> failing;
    Rows calls;
};

TEST(WifiControlTest, EventsThatCannotBeOpenedAreSkippedAndTheRestStillRuns) {
    const std::vector<FailCase> cases = {
        {__LINE__,
         {TEXT("WALNStatusChangeEvent"), TEXT("ShouldLockWlanUI"), TEXT("ShouldUnLockWlanUI"),
          TEXT("WLANDetectInsertPCMCIA")},
         {
             "KernelIoControl(0x01010127, {01 00 00 00}, 4, NULL, 0, NULL) = 1",
             "CreateEventW(NULL, 0, 0, \"WALNStatusChangeEvent\") = NULL",
             "CreateEventW(NULL, 0, 0, \"ShouldLockWlanUI\") = NULL",
             "CreateEventW(NULL, 0, 0, \"ShouldUnLockWlanUI\") = NULL",
             "CreateEventW(NULL, 0, 0, \"WLANDetectInsertPCMCIA\") = NULL",
             "Sleep(10)",
             "KernelIoControl(0x01010128, NULL, 0, {01 00 00 00}, 4, &0) = 1",
         }},
        {__LINE__,
         {TEXT("ShouldLockWlanUI")},
         {
             "KernelIoControl(0x01010127, {01 00 00 00}, 4, NULL, 0, NULL) = 1",
             "CreateEventW(NULL, 0, 0, \"WALNStatusChangeEvent\") = <WALNStatusChangeEvent>",
             "EventModify(<WALNStatusChangeEvent>, 3) = 1",
             "CloseHandle(<WALNStatusChangeEvent>) = 1",
             "CreateEventW(NULL, 0, 0, \"ShouldLockWlanUI\") = NULL",
             "CreateEventW(NULL, 0, 0, \"ShouldUnLockWlanUI\") = <ShouldUnLockWlanUI>",
             "EventModify(<ShouldUnLockWlanUI>, 2) = 1",
             "CreateEventW(NULL, 0, 0, \"WLANDetectInsertPCMCIA\") = <WLANDetectInsertPCMCIA>",
             "EventModify(<WLANDetectInsertPCMCIA>, 3) = 1",
             "CloseHandle(<WLANDetectInsertPCMCIA>) = 1",
             "Sleep(10)",
             "CloseHandle(<ShouldUnLockWlanUI>) = 1",
             "KernelIoControl(0x01010128, NULL, 0, {01 00 00 00}, 4, &0) = 1",
         }},
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        sim::SetUpWifi(device, model::WlanSetUp::Stuck);
        for (const WCHAR* name : c.failing)
            device.events.FailOpening(name, ERROR_INVALID_HANDLE);
        CSettingsStore store;
        CMainFrame frame(store);
        device.trace.Enable(true);
        frame.WlanWakeSequence();
        EXPECT_CALLS(device.trace, c.calls);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    }
}

TEST(WifiControlTest, WakeSequencePausesTenMillisecondsOfVirtualTime) {
    sim::Device device;
    sim::SetUpWifi(device, model::WlanSetUp::Stuck);
    CSettingsStore store;
    CMainFrame frame(store);
    const std::uint64_t before = device.Now();
    frame.TurnWifiOn(0);
    EXPECT_EQ(device.Now(), before + 10);
    const auto& records = device.handheld.ioControls.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].time, before);
    EXPECT_EQ(records[1].time, before + 10);
}

// Events the WLAN software does not keep exist only while the program holds them: created
// fresh by the sequence and gone afterwards.
TEST(WifiControlTest, WakeSequenceCreatesMissingEventsAndLeavesNoneBehind) {
    sim::Device device;
    sim::SetUpWifi(device, model::WlanSetUp::Absent);
    CSettingsStore store;
    CMainFrame frame(store);
    frame.TurnWifiOn(0);
    for (const WCHAR* name : {TEXT("WALNStatusChangeEvent"), TEXT("ShouldLockWlanUI"),
                              TEXT("ShouldUnLockWlanUI"), TEXT("WLANDetectInsertPCMCIA")})
        EXPECT_FALSE(device.events.Exists(name)) << ToUtf8(name);
    EXPECT_EQ(device.trace.Count("CreateEventW"), 4u);
    EXPECT_EQ(device.trace.Count("CloseHandle"), 4u);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

} // namespace
