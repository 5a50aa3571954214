// Bluetooth control of the main frame through Win32 calls only, on the simulated device and
// under Wine. A hidden window of the test plays the Widcomm console: it obeys the two menu
// commands and keeps "StackMode" under HKLM as the stack does.
#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "tests/support/fresh_device.h"

namespace {

const WCHAR* const kGeneral = TEXT("SOFTWARE\\Widcomm\\BtConfig\\General");

void DeleteWidcommKeys() {
    // Leaf first: desktop Windows deletes only keys without subkeys.
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kGeneral);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm\\BtConfig"));
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm"));
}

bool WriteStackMode(DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kGeneral, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG set = RegSetValueExW(key, TEXT("StackMode"), 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

int g_onCommands = 0;
int g_offCommands = 0;

LRESULT CALLBACK ConsoleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && wParam == 4098) {
        ++g_onCommands;
        WriteStackMode(1);
        return 0;
    }
    if (message == WM_COMMAND && wParam == 4097) {
        ++g_offCommands;
        WriteStackMode(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The console window and the stack's registry value for one test.
class Console {
  public:
    explicit Console(bool withWindow) {
        DeleteWidcommKeys();
        g_onCommands = g_offCommands = 0;
        if (!withWindow)
            return;
        WNDCLASSW wc{};
        wc.lpfnWndProc = ConsoleProc;
        wc.lpszClassName = TEXT("KipoPortableBtConsole");
        RegisterClassW(&wc); // fails harmlessly when an earlier test registered it
        window = CreateWindowExW(0, TEXT("KipoPortableBtConsole"), TEXT("Bluetooth Console"), 0, 0,
                                 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~Console() {
        if (window != nullptr)
            DestroyWindow(window);
        DeleteWidcommKeys();
    }
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    HWND window = nullptr;
};

struct Row {
    int line;
    int stackMode; // -1: no value at all
    bool console;
    bool on;
    int force;
    int onCommands;
    int offCommands;
    int isAfter;
};

TEST(RadioBluetooth, WidcommCommandsFollowStackMode) {
    const Row rows[] = {
        {__LINE__, 0, true, true, 0, 1, 0, 1},   {__LINE__, 1, true, true, 0, 0, 0, 1},
        {__LINE__, 1, true, false, 0, 0, 1, 0},  {__LINE__, 0, true, false, 0, 0, 0, 0},
        {__LINE__, -1, true, true, 0, 1, 0, 1},  {__LINE__, -1, true, false, 0, 0, 0, 0},
        {__LINE__, 2, true, true, 0, 1, 0, 1},   {__LINE__, 1, true, true, 1, 1, 0, 1},
        {__LINE__, 0, true, false, 1, 0, 1, 0},  {__LINE__, 0, false, true, 0, 0, 0, 0},
        {__LINE__, 1, false, false, 0, 0, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        Console console(row.console);
        if (row.console) {
            ASSERT_NE(console.window, nullptr);
        }
        if (row.stackMode >= 0) {
            ASSERT_TRUE(WriteStackMode(static_cast<DWORD>(row.stackMode)));
        }
        CSettingsStore store;
        CMainFrame frame(store);
        frame.BTControl = 0;
        if (row.on)
            frame.TurnBluetoothOn(row.force);
        else
            frame.TurnBluetoothOff(row.force);
        EXPECT_EQ(g_onCommands, row.onCommands);
        EXPECT_EQ(g_offCommands, row.offCommands);
        EXPECT_EQ(frame.IsBluetoothOn(), row.isAfter);
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}

TEST(RadioBluetooth, MicrosoftLibraryModes) {
    struct ModeRow {
        int line;
        DWORD mode;
        bool on;
        int force;
        DWORD modeAfter;
    };
    const ModeRow rows[] = {
        {__LINE__, 0, true, 0, 1},  {__LINE__, 1, false, 0, 0}, {__LINE__, 2, true, 0, 2},
        {__LINE__, 2, false, 0, 0}, {__LINE__, 2, true, 1, 1},  {__LINE__, 0, false, 1, 0},
    };
    for (const ModeRow& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        device.Handheld().bluetooth.SetStack(model::BluetoothStack::Microsoft);
        device.Handheld().bluetooth.SetRawMode(row.mode);
        CSettingsStore store;
        CMainFrame frame(store);
        frame.BTControl = 1;
        if (row.on)
            frame.TurnBluetoothOn(row.force);
        else
            frame.TurnBluetoothOff(row.force);
        EXPECT_EQ(device.Handheld().bluetooth.Mode(), row.modeAfter);
        EXPECT_EQ(frame.IsBluetoothOn(), row.modeAfter != 0 ? 1 : 0);
    }
}

TEST(RadioBluetooth, OtherStackValuesTouchNothing) {
    FreshDevice device;
    Console console(true);
    device.Handheld().bluetooth.SetStack(model::BluetoothStack::Microsoft);
    CSettingsStore store;
    CMainFrame frame(store);
    for (LONG control : {2, -1}) {
        frame.BTControl = control;
        frame.TurnBluetoothOn(0);
        frame.TurnBluetoothOn(1);
        frame.TurnBluetoothOff(1);
        EXPECT_EQ(frame.IsBluetoothOn(), 0);
    }
    EXPECT_EQ(g_onCommands + g_offCommands, 0);
    EXPECT_EQ(device.Handheld().bluetooth.Mode(), 0u);
}

} // namespace
