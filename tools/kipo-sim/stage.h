// What the scenario's steps act on and its checks look at: the simulated device, the set-up
// collected before it powers on, and the program as the runner found it on the device.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "tools/kipo-sim/call_log.h"
#include "tools/kipo-sim/scenario.h"

namespace sim {
class Device;
struct TraceCall;
} // namespace sim
class CMainFrame;

namespace kiposim {

// The hardware the set-up steps ask for, applied when the first timed step comes.
struct DeviceSetUp {
    StackKind stack = StackKind::Widcomm;
    bool btOn = false;
    WifiSetUp wifi = WifiSetUp::Off;
    WString exeName = u"Kipo.exe";
    WString cmdline;
    int screenWidth = 240;
    int screenHeight = 320;
    bool holdUp = false;
    std::optional<long long> btMode; // the Microsoft stack's mode, any number
};

class Stage {
  public:
    sim::Device* device = nullptr;
    DeviceSetUp setUp;
    bool deviceReady = false; // the set-up has been applied
    // The program's main frame while it runs (found when it starts its check timer).
    CMainFrame* frame = nullptr;
    HWND mainWindow = nullptr;
    CallLog calls;                    // fed by the runner when a step needs it
    std::vector<int> secondInstances; // processes of Kipo started while it ran
    // A timer message goes to Kipo's main window when Kipo next makes this call (once).
    std::string timerAt;

    sim::Device& Device() const { return *device; }
    bool ProgramRunning() const;
    // The main frame's window while it exists.
    HWND MainWindow() const;
    std::optional<WString> Foreground() const;
    // Where the program is installed: a bare file name goes to \Program Files\Kipo.
    WString ExePath() const;
    // The program's settings key below HKCU, named after its executable.
    std::string SettingsKeyPath() const;

    // Which program a process is, for the call checks.
    Caller CallerOf(int process) const;
    // Logs one platform call, naming the arguments that are Kipo's windows.
    void LogCall(const sim::TraceCall& call);

    // Powers the device on with the set-up's hardware (once, before the first timed step).
    void PowerOn();
    // Puts the WLAN adapter into the set-up's state.
    void ApplyWifi();
};

} // namespace kiposim
