// Bluetooth control of the main frame under each stack: the registry reads and console
// commands of Widcomm, the library calls of Microsoft, and nothing at all for other values
// of BTControl. Each case checks the program's calls one by one and the radio afterwards.
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

// What the Widcomm stack's "StackMode" holds before the operation.
enum class Mode { KeyMissing, ValueMissing, Zero, One, Two, LongBinary, OneByte };

enum class Op { On, Off, Is };

const std::string kOpen =
    "RegOpenKeyExW(HKLM, \"\\SOFTWARE\\Widcomm\\BtConfig\\General\", 0, 0xf003f, ->*) = 0";
const std::string kOpenFails =
    "RegOpenKeyExW(HKLM, \"\\SOFTWARE\\Widcomm\\BtConfig\\General\", 0, 0xf003f, ->NULL) = 2";
std::string Query(const std::string& out, int result) {
    return "RegQueryValueExW(*, \"StackMode\", NULL, " + out + ") = " + std::to_string(result);
}
const std::string kClose = "RegCloseKey(*) = 0";
const std::string kFind = "FindWindowW(NULL, \"Bluetooth Console\") = {console}";
const std::string kFindNone = "FindWindowW(NULL, \"Bluetooth Console\") = NULL";
std::string Send(WORD command, const std::string& to = "{console}") {
    return "SendMessageW(" + to + ", WM_COMMAND (0x0111), " + std::to_string(command) + ", 0) = 0";
}

const std::string kQueryDword = Query("->4, buf, 4->4", 0);

struct WidcommCase {
    std::source_location where = std::source_location::current();
    Mode mode = Mode::Zero;
    bool console = true; // the console window is open
    Op op = Op::Is;
    int force = 0;
    Rows calls;       // "{console}" is the console window
    int isResult = 0; // IsBluetoothOn's answer, for Op::Is
    DWORD stackModeAfter = 0;
};

void WriteStackMode(sim::Device& device, Mode mode) {
    sim::Device::ProcessScope scope(device, device.widcomm.Process());
    if (mode == Mode::KeyMissing) {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm"));
        return;
    }
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const DWORD values[] = {0, 0, 0, 1, 2};
    const BYTE longData[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    const BYTE oneByte[1] = {1};
    switch (mode) {
    case Mode::ValueMissing:
        RegDeleteValueW(key, TEXT("StackMode"));
        break;
    case Mode::LongBinary:
        RegSetValueExW(key, TEXT("StackMode"), 0, REG_BINARY, longData, sizeof longData);
        break;
    case Mode::OneByte:
        RegSetValueExW(key, TEXT("StackMode"), 0, REG_BINARY, oneByte, sizeof oneByte);
        break;
    default:
        RegSetValueExW(key, TEXT("StackMode"), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&values[static_cast<int>(mode)]), 4);
        break;
    }
    RegCloseKey(key);
}

// "StackMode" as a DWORD, or 99 when it cannot be read as one.
DWORD ReadStackMode(sim::Device& device) {
    sim::Device::ProcessScope scope(device, device.widcomm.Process());
    HKEY key = nullptr;
    DWORD value = 99;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig\\General"), 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
        return value;
    DWORD size = sizeof value;
    DWORD type = 0;
    if (RegQueryValueExW(key, TEXT("StackMode"), nullptr, &type, reinterpret_cast<LPBYTE>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        value = 99;
    RegCloseKey(key);
    return value;
}

using enum Mode;
using enum Op;
const std::string kQueryMissing = Query("->?, buf, 4->4", 2);

// clang-format off
const std::vector<WidcommCase> kWidcommCases = {
    // Radio on: on asks and stops; off asks and sends 4097.
    {.mode = One, .op = Is, .calls = {kOpen, kQueryDword, kClose}, .isResult = 1, .stackModeAfter = 1},
    {.mode = One, .op = On, .calls = {kOpen, kQueryDword, kClose}, .stackModeAfter = 1},
    {.mode = One, .op = Off, .calls = {kOpen, kQueryDword, kClose, kFind, Send(4097)}, .stackModeAfter = 0},
    // Radio off: the other way round.
    {.mode = Zero, .op = Is, .calls = {kOpen, kQueryDword, kClose}, .isResult = 0, .stackModeAfter = 0},
    {.mode = Zero, .op = On, .calls = {kOpen, kQueryDword, kClose, kFind, Send(4098)}, .stackModeAfter = 1},
    {.mode = Zero, .op = Off, .calls = {kOpen, kQueryDword, kClose}, .stackModeAfter = 0},
    // A missing key is off: nothing to close, on sends 4098, off does nothing.
    {.mode = KeyMissing, .op = Is, .calls = {kOpenFails}, .isResult = 0, .stackModeAfter = 99},
    {.mode = KeyMissing, .op = On, .calls = {kOpenFails, kFind, Send(4098)}, .stackModeAfter = 1},
    {.mode = KeyMissing, .op = Off, .calls = {kOpenFails}, .stackModeAfter = 99},
    // A missing value is off too; the key is still closed.
    {.mode = ValueMissing, .op = On, .calls = {kOpen, kQueryMissing, kClose, kFind, Send(4098)}, .stackModeAfter = 1},
    {.mode = ValueMissing, .op = Off, .calls = {kOpen, kQueryMissing, kClose}, .stackModeAfter = 99},
    // Any number but 1 is off, so on sends 4098 again.
    {.mode = Two, .op = Is, .calls = {kOpen, kQueryDword, kClose}, .isResult = 0, .stackModeAfter = 2},
    {.mode = Two, .op = On, .calls = {kOpen, kQueryDword, kClose, kFind, Send(4098)}, .stackModeAfter = 1},
    // Data that does not fit four bytes is not read: off.
    {.mode = LongBinary, .op = Is, .calls = {kOpen, Query("->3, buf, 4->8", 234), kClose}, .isResult = 0, .stackModeAfter = 99},
    // The type is not looked at: one byte 1 reads as 1.
    {.mode = OneByte, .op = Is, .calls = {kOpen, Query("->3, buf, 4->1", 0), kClose}, .isResult = 1, .stackModeAfter = 99},
    // No console: the command goes to no window and nothing changes.
    {.mode = Zero, .console = false, .op = On, .calls = {kOpen, kQueryDword, kClose, kFindNone, Send(4098, "NULL")}, .stackModeAfter = 0},
    {.mode = One, .console = false, .op = Off, .calls = {kOpen, kQueryDword, kClose, kFindNone, Send(4097, "NULL")}, .stackModeAfter = 1},
    // force: no question, the command goes even when the radio is already there.
    {.mode = One, .op = On, .force = 1, .calls = {kFind, Send(4098)}, .stackModeAfter = 1},
    {.mode = Zero, .op = Off, .force = 1, .calls = {kFind, Send(4097)}, .stackModeAfter = 0},
    {.mode = KeyMissing, .op = Off, .force = -1, .calls = {kFind, Send(4097)}, .stackModeAfter = 0},
};
// clang-format on

TEST(BluetoothControlTest, WidcommReadsStackModeAndSendsConsoleCommands) {
    for (const WidcommCase& c : kWidcommCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.where.line());
        sim::Device device;
        sim::SetUpBluetooth(device, model::BluetoothStack::Widcomm, false);
        const HWND console = device.widcomm.Console();
        WriteStackMode(device, c.mode);
        if (!c.console)
            device.widcomm.CloseConsole(device);
        CSettingsStore store;
        CMainFrame frame(store);
        frame.BTControl = 0;
        device.trace.Enable(true);
        int answer = 0;
        if (c.op == Op::On)
            frame.TurnBluetoothOn(c.force);
        else if (c.op == Op::Off)
            frame.TurnBluetoothOff(c.force);
        else
            answer = frame.IsBluetoothOn();
        EXPECT_CALLS(device.trace, c.calls, {}, {{"console", console}});
        if (c.op == Op::Is) {
            EXPECT_EQ(answer, c.isResult);
        }
        EXPECT_EQ(ReadStackMode(device), c.stackModeAfter);
        EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    }
}

TEST(BluetoothControlTest, TheConsoleSwitchesTheRadioOnItsCommandsOnly) {
    sim::Device device;
    sim::SetUpBluetooth(device, model::BluetoothStack::Widcomm, false);
    CSettingsStore store;
    CMainFrame frame(store);
    frame.BTControl = 0;
    frame.TurnBluetoothOn(0);
    EXPECT_TRUE(sim::BluetoothIsOn(device));
    EXPECT_EQ(frame.IsBluetoothOn(), 1);
    frame.TurnBluetoothOn(0); // already on: no second command
    frame.TurnBluetoothOff(0);
    EXPECT_FALSE(sim::BluetoothIsOn(device));
    EXPECT_EQ(device.widcomm.OnCommands(), 1);
    EXPECT_EQ(device.widcomm.OffCommands(), 1);
    // Any other command is ignored, as is another message.
    SendMessageW(device.widcomm.Console(), WM_COMMAND, 4099, 0);
    SendMessageW(device.widcomm.Console(), WM_USER, 4098, 0);
    EXPECT_FALSE(sim::BluetoothIsOn(device));
    EXPECT_EQ(device.widcomm.OtherCommands(), 1);
    // The user switching by hand is seen through "StackMode".
    sim::UserSwitchBluetooth(device, true);
    EXPECT_EQ(frame.IsBluetoothOn(), 1);
}

struct MicrosoftCase {
    std::source_location where = std::source_location::current();
    model::BluetoothStack stack = model::BluetoothStack::Microsoft; // only it answers
    DWORD mode = 0;
    Op op = Is;
    int force = 0;
    Rows calls;
    int isResult = 0;
    DWORD modeAfter = 0;
};

TEST(BluetoothControlTest, MicrosoftAsksAndSetsTheLibraryMode) {
    const auto none = model::BluetoothStack::None;
    // clang-format off
    const std::vector<MicrosoftCase> cases = {
        {.mode = 0, .op = Is, .calls = {"BthGetMode(&0) = 0"}, .isResult = 0, .modeAfter = 0},
        {.mode = 1, .op = Is, .calls = {"BthGetMode(&1) = 0"}, .isResult = 1, .modeAfter = 1},
        {.mode = 0, .op = On, .calls = {"BthGetMode(&0) = 0", "BthSetMode(1) = 0"}, .modeAfter = 1},
        {.mode = 0, .op = Off, .calls = {"BthGetMode(&0) = 0"}, .modeAfter = 0},
        {.mode = 1, .op = On, .calls = {"BthGetMode(&1) = 0"}, .modeAfter = 1},
        {.mode = 1, .op = Off, .calls = {"BthGetMode(&1) = 0", "BthSetMode(0) = 0"}, .modeAfter = 0},
        // Any non-zero mode is on, and on does not bring it back to 1.
        {.mode = 2, .op = Is, .calls = {"BthGetMode(&2) = 0"}, .isResult = 1, .modeAfter = 2},
        {.mode = 2, .op = On, .calls = {"BthGetMode(&2) = 0"}, .modeAfter = 2},
        {.mode = 2, .op = Off, .calls = {"BthGetMode(&2) = 0", "BthSetMode(0) = 0"}, .modeAfter = 0},
        // force: no question.
        {.mode = 1, .op = On, .force = 1, .calls = {"BthSetMode(1) = 0"}, .modeAfter = 1},
        {.mode = 0, .op = Off, .force = 1, .calls = {"BthSetMode(0) = 0"}, .modeAfter = 0},
        // A library that delivers no mode reads as off; the refused set changes nothing.
        {.stack = none, .mode = 1, .op = Is, .calls = {"BthGetMode(&0) = 1062"}, .isResult = 0, .modeAfter = 1},
        {.stack = none, .mode = 1, .op = On, .calls = {"BthGetMode(&0) = 1062", "BthSetMode(1) = 1062"}, .modeAfter = 1},
        {.stack = model::BluetoothStack::Widcomm, .mode = 0, .op = Off, .calls = {"BthGetMode(&0) = 1062"}, .modeAfter = 0},
    };
    // clang-format on
    for (const MicrosoftCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.where.line());
        sim::Device device;
        device.handheld.bluetooth.SetStack(c.stack);
        device.handheld.bluetooth.SetRawMode(c.mode);
        CSettingsStore store;
        CMainFrame frame(store);
        frame.BTControl = 1;
        device.trace.Enable(true);
        int answer = 0;
        if (c.op == Op::On)
            frame.TurnBluetoothOn(c.force);
        else if (c.op == Op::Off)
            frame.TurnBluetoothOff(c.force);
        else
            answer = frame.IsBluetoothOn();
        EXPECT_CALLS(device.trace, c.calls);
        if (c.op == Op::Is) {
            EXPECT_EQ(answer, c.isResult);
        }
        EXPECT_EQ(device.handheld.bluetooth.Mode(), c.modeAfter);
    }
}

TEST(BluetoothControlTest, OtherStackValuesAskAndSendNothing) {
    for (LONG control : {2, 3, -1, 0x7fffffff}) {
        SCOPED_TRACE(testing::Message() << "BTControl " << control);
        sim::Device device;
        sim::SetUpBluetooth(device, model::BluetoothStack::Widcomm, false);
        CSettingsStore store;
        CMainFrame frame(store);
        frame.BTControl = control;
        device.trace.Enable(true);
        frame.TurnBluetoothOn(0);
        frame.TurnBluetoothOn(1);
        frame.TurnBluetoothOff(0);
        frame.TurnBluetoothOff(1);
        EXPECT_EQ(frame.IsBluetoothOn(), 0);
        EXPECT_CALLS(device.trace, {});
        EXPECT_FALSE(sim::BluetoothIsOn(device));
    }
}

// The program's setting decides the stack it drives, not the stack the device has.
TEST(BluetoothControlTest, WidcommSettingOnAMicrosoftDeviceFindsNoConsole) {
    sim::Device device;
    sim::SetUpBluetooth(device, model::BluetoothStack::Microsoft, false);
    CSettingsStore store;
    CMainFrame frame(store);
    frame.BTControl = 0;
    device.trace.Enable(true);
    frame.TurnBluetoothOn(0);
    EXPECT_CALLS(device.trace, {kOpenFails, kFindNone, Send(4098, "NULL")});
    EXPECT_FALSE(sim::BluetoothIsOn(device));
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

} // namespace
