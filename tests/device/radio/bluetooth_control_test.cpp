// Bluetooth control of the main frame under each stack: the registry reads and console
// commands of Widcomm, the library calls of Microsoft, and nothing at all for other values
// of BTControl. Each case checks the program's calls one by one and the radio afterwards.
#include <gtest/gtest.h>

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
    int line;
    Mode mode;
    bool console;
    Op op;
    int force;
    Rows calls;
    int isResult; // IsBluetoothOn's answer, for Op::Is
    DWORD stackModeAfter;
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

Rows WithConsole(Rows rows, HWND console) {
    const std::string handle = sim::TraceArg(static_cast<const void*>(console));
    for (std::string& row : rows)
        for (std::size_t at; (at = row.find("{console}")) != std::string::npos;)
            row.replace(at, 9, handle);
    return rows;
}

const std::vector<WidcommCase>& WidcommCases() {
    static const std::vector<WidcommCase> cases = {
        // Radio on: on asks and stops; off asks and sends 4097.
        {__LINE__, Mode::One, true, Op::Is, 0, {kOpen, kQueryDword, kClose}, 1, 1},
        {__LINE__, Mode::One, true, Op::On, 0, {kOpen, kQueryDword, kClose}, 0, 1},
        {__LINE__,
         Mode::One,
         true,
         Op::Off,
         0,
         {kOpen, kQueryDword, kClose, kFind, Send(4097)},
         0,
         0},
        // Radio off: the other way round.
        {__LINE__, Mode::Zero, true, Op::Is, 0, {kOpen, kQueryDword, kClose}, 0, 0},
        {__LINE__,
         Mode::Zero,
         true,
         Op::On,
         0,
         {kOpen, kQueryDword, kClose, kFind, Send(4098)},
         0,
         1},
        {__LINE__, Mode::Zero, true, Op::Off, 0, {kOpen, kQueryDword, kClose}, 0, 0},
        // A missing key is off: nothing to close, on sends 4098, off does nothing.
        {__LINE__, Mode::KeyMissing, true, Op::Is, 0, {kOpenFails}, 0, 99},
        {__LINE__, Mode::KeyMissing, true, Op::On, 0, {kOpenFails, kFind, Send(4098)}, 0, 1},
        {__LINE__, Mode::KeyMissing, true, Op::Off, 0, {kOpenFails}, 0, 99},
        // A missing value is off too; the key is still closed.
        {__LINE__,
         Mode::ValueMissing,
         true,
         Op::On,
         0,
         {kOpen, Query("->?, buf, 4->4", 2), kClose, kFind, Send(4098)},
         0,
         1},
        {__LINE__,
         Mode::ValueMissing,
         true,
         Op::Off,
         0,
         {kOpen, Query("->?, buf, 4->4", 2), kClose},
         0,
         99},
        // Any number but 1 is off, so on sends 4098 again.
        {__LINE__, Mode::Two, true, Op::Is, 0, {kOpen, kQueryDword, kClose}, 0, 2},
        {__LINE__,
         Mode::Two,
         true,
         Op::On,
         0,
         {kOpen, kQueryDword, kClose, kFind, Send(4098)},
         0,
         1},
        // Data that does not fit four bytes is not read: off.
        {__LINE__,
         Mode::LongBinary,
         true,
         Op::Is,
         0,
         {kOpen, Query("->3, buf, 4->8", 234), kClose},
         0,
         99},
        // The type is not looked at: one byte 1 reads as 1.
        {__LINE__,
         Mode::OneByte,
         true,
         Op::Is,
         0,
         {kOpen, Query("->3, buf, 4->1", 0), kClose},
         1,
         99},
        // No console: the command goes to no window and nothing changes.
        {__LINE__,
         Mode::Zero,
         false,
         Op::On,
         0,
         {kOpen, kQueryDword, kClose, kFindNone, Send(4098, "NULL")},
         0,
         0},
        {__LINE__,
         Mode::One,
         false,
         Op::Off,
         0,
         {kOpen, kQueryDword, kClose, kFindNone, Send(4097, "NULL")},
         0,
         1},
        // force: no question, the command goes even when the radio is already there.
        {__LINE__, Mode::One, true, Op::On, 1, {kFind, Send(4098)}, 0, 1},
        {__LINE__, Mode::Zero, true, Op::Off, 1, {kFind, Send(4097)}, 0, 0},
        {__LINE__, Mode::KeyMissing, true, Op::Off, -1, {kFind, Send(4097)}, 0, 0},
    };
    return cases;
}

TEST(BluetoothControlTest, WidcommReadsStackModeAndSendsConsoleCommands) {
    for (const WidcommCase& c : WidcommCases()) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
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
        EXPECT_CALLS(device.trace, WithConsole(c.calls, console));
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
    int line;
    model::BluetoothStack stack; // the library answers only for Microsoft
    DWORD mode;
    Op op;
    int force;
    Rows calls;
    int isResult;
    DWORD modeAfter;
};

TEST(BluetoothControlTest, MicrosoftAsksAndSetsTheLibraryMode) {
    const auto ms = model::BluetoothStack::Microsoft;
    const std::vector<MicrosoftCase> cases = {
        {__LINE__, ms, 0, Op::Is, 0, {"BthGetMode(&0) = 0"}, 0, 0},
        {__LINE__, ms, 1, Op::Is, 0, {"BthGetMode(&1) = 0"}, 1, 1},
        {__LINE__, ms, 0, Op::On, 0, {"BthGetMode(&0) = 0", "BthSetMode(1) = 0"}, 0, 1},
        {__LINE__, ms, 0, Op::Off, 0, {"BthGetMode(&0) = 0"}, 0, 0},
        {__LINE__, ms, 1, Op::On, 0, {"BthGetMode(&1) = 0"}, 0, 1},
        {__LINE__, ms, 1, Op::Off, 0, {"BthGetMode(&1) = 0", "BthSetMode(0) = 0"}, 0, 0},
        // Any non-zero mode is on, and on does not bring it back to 1.
        {__LINE__, ms, 2, Op::Is, 0, {"BthGetMode(&2) = 0"}, 1, 2},
        {__LINE__, ms, 2, Op::On, 0, {"BthGetMode(&2) = 0"}, 0, 2},
        {__LINE__, ms, 2, Op::Off, 0, {"BthGetMode(&2) = 0", "BthSetMode(0) = 0"}, 0, 0},
        // force: no question.
        {__LINE__, ms, 1, Op::On, 1, {"BthSetMode(1) = 0"}, 0, 1},
        {__LINE__, ms, 0, Op::Off, 1, {"BthSetMode(0) = 0"}, 0, 0},
        // A library that delivers no mode reads as off; the refused set changes nothing.
        {__LINE__, model::BluetoothStack::None, 1, Op::Is, 0, {"BthGetMode(&0) = 1062"}, 0, 1},
        {__LINE__,
         model::BluetoothStack::None,
         1,
         Op::On,
         0,
         {"BthGetMode(&0) = 1062", "BthSetMode(1) = 1062"},
         0,
         1},
        {__LINE__, model::BluetoothStack::Widcomm, 0, Op::Off, 0, {"BthGetMode(&0) = 1062"}, 0, 0},
    };
    for (const MicrosoftCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
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
