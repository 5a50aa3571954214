// Bluetooth control through the Widcomm stack with its console in a second process, as on the
// handheld: the frame's SendMessageW crosses into kipo_bt_console.exe, which switches its radio
// and writes "StackMode", which the frame then reads back from the registry.
#include <gtest/gtest.h>

#include <string>

#include "app/main_frame.h"
#include "settings/settings_store.h"
#include "tests/support/fresh_device.h"

namespace {

const wchar_t kGeneral[] = L"SOFTWARE\\Widcomm\\BtConfig\\General";

std::wstring ConsolePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    return text.substr(0, text.find_last_of(L"\\/") + 1) + L"kipo_bt_console.exe";
}

// StackMode as the registry holds it, or -1 when there is no value.
long StackMode() {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kGeneral, L"StackMode", RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<long>(value);
}

// The console program for one test: started with the radio as asked, closed at the end.
class ConsoleProcess {
  public:
    explicit ConsoleProcess(const wchar_t* start) {
        std::wstring commandLine = L"kipo_bt_console.exe " + std::wstring(start);
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        const std::wstring exe = ConsolePath();
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_))
            return;
        // Real time: the second process needs a moment to show its window.
        for (int i = 0; i < 400 && window == nullptr; ++i) {
            HWND found = FindWindowW(nullptr, L"Bluetooth Console");
            DWORD owner = 0;
            if (found != nullptr)
                GetWindowThreadProcessId(found, &owner);
            if (owner == process_.dwProcessId)
                window = found;
            else
                Sleep(25);
        }
    }
    ~ConsoleProcess() {
        if (process_.hProcess == nullptr)
            return;
        if (window != nullptr)
            PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    ConsoleProcess(const ConsoleProcess&) = delete;
    ConsoleProcess& operator=(const ConsoleProcess&) = delete;

    LRESULT Obeyed(UINT which) const { return SendMessageW(window, WM_APP + which, 0, 0); }

    HWND window = nullptr;

  private:
    PROCESS_INFORMATION process_ = {};
};

} // namespace

TEST(WidcommConsoleProcess, CommandsCrossIntoTheStacksProcess) {
    struct Row {
        int line;
        const wchar_t* start;
        bool turnOn;
        int force;
        LRESULT on;
        LRESULT off;
        long stackModeAfter;
    };
    const Row rows[] = {
        {__LINE__, L"off", true, 0, 1, 0, 1},  {__LINE__, L"on", true, 0, 0, 0, 1},
        {__LINE__, L"on", false, 0, 0, 1, 0},  {__LINE__, L"off", false, 0, 0, 0, 0},
        {__LINE__, L"none", true, 0, 1, 0, 1}, {__LINE__, L"none", false, 0, 0, 0, -1},
        {__LINE__, L"on", true, 1, 1, 0, 1},   {__LINE__, L"off", false, 1, 0, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        FreshDevice device;
        ConsoleProcess console(row.start);
        ASSERT_NE(console.window, nullptr) << "the console program did not start";
        DWORD owner = 0;
        GetWindowThreadProcessId(console.window, &owner);
        EXPECT_NE(owner, GetCurrentProcessId());

        CSettingsStore store;
        CMainFrame frame(store);
        frame.BTControl = 0;
        if (row.turnOn)
            frame.TurnBluetoothOn(row.force);
        else
            frame.TurnBluetoothOff(row.force);
        EXPECT_EQ(console.Obeyed(0), row.on);
        EXPECT_EQ(console.Obeyed(1), row.off);
        EXPECT_EQ(console.Obeyed(2), 0);
        EXPECT_EQ(StackMode(), row.stackModeAfter);
        EXPECT_EQ(frame.IsBluetoothOn(), row.stackModeAfter == 1 ? 1 : 0);
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}

TEST(WidcommConsoleProcess, ConsoleGoneMeansNothingIsSent) {
    FreshDevice device;
    {
        ConsoleProcess console(L"off");
        ASSERT_NE(console.window, nullptr);
    }
    ASSERT_EQ(FindWindowW(nullptr, L"Bluetooth Console"), nullptr);
    CSettingsStore store;
    CMainFrame frame(store);
    frame.BTControl = 0;
    frame.TurnBluetoothOn(0);
    frame.TurnBluetoothOff(1);
    EXPECT_EQ(StackMode(), 0);
    EXPECT_EQ(frame.IsBluetoothOn(), 0);
    EXPECT_EQ(device.OpenHandles(), 0);
}
