// Powering the device on with the scenario's set-up, and starting the real program on it.
// The steps themselves are verbs (verbs_*.cpp).
#include "app/kipo_main.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/runner.h"

namespace kiposim {

namespace {

const char* StackText(StackKind kind) {
    return kind == StackKind::Widcomm     ? "Widcomm"
           : kind == StackKind::Microsoft ? "Microsoft"
                                          : "no";
}

const char* WifiText(WifiSetUp kind) {
    return kind == WifiSetUp::On       ? "on (D0)"
           : kind == WifiSetUp::Off    ? "off (D4)"
           : kind == WifiSetUp::Absent ? "absent"
           : kind == WifiSetUp::AtD1   ? "at D1"
           : kind == WifiSetUp::AtD2   ? "at D2"
           : kind == WifiSetUp::AtD3   ? "at D3"
           : kind == WifiSetUp::Broken ? "broken at D4"
                                       : "stuck at D4 until woken";
}

} // namespace

// The device's hardware as the set-up steps left it, applied once, before the first step
// that needs the clock or the program.
void Runner::ApplyDeviceSetUp() {
    sim::Device& device = *device_;
    stage_.PowerOn();
    const DeviceSetUp& setUp = stage_.setUp;
    log_.Begin(Foreground(), sim::BluetoothIsOn(device), sim::WifiIsOn(device));
    Look now;
    ReadLook(now);
    Remember(now);
    seenValid_ = true;
    Line("device on: " + std::to_string(setUp.screenWidth) + "x" +
         std::to_string(setUp.screenHeight) + " screen, " + StackText(setUp.stack) +
         " Bluetooth stack, Bluetooth " + (seen_.radio[0] ? "on" : "off") + ", WiFi " +
         WifiText(setUp.wifi) + (setUp.holdUp ? ", the Up key held down" : "") + "; " +
         (seen_.hasForeground ? "in front: " + QuoteCaption(seen_.caption) : "nothing in front"));
}

void Runner::StartProgram() {
    sim::Device& device = *device_;
    const std::string exeName = ToUtf8(stage_.setUp.exeName);
    int process = sim::kProgramProcess;
    const bool second = ProgramRunning();
    if (second) {
        // Another instance of the same executable: a process of its own.
        process = device.CreateProcess(stage_.ExePath());
        stage_.secondInstances.push_back(process);
    } else {
        device.SetProgramPath(stage_.ExePath());
        observerAttached_ = false;
        stage_.frame = nullptr;
        stage_.mainWindow = nullptr;
        ListenToCalls(true);
    }
    const WString& cmdline = stage_.setUp.cmdline;
    Line(exeName + (second ? " starts again (a second instance)" : " starts") +
         (cmdline.empty() ? "" : ", command line " + QuoteCaption(cmdline)));
    device.ProcessById(process).running = true;
    // Each instance runs on a thread of its own, side by side with the others.
    device.StartThread(process, [this, process, second, exeName, commandLine = cmdline] {
        const int exitCode = KipoMain(GetModuleHandleW(nullptr), commandLine.c_str());
        device_->ProcessById(process).running = false;
        if (!second) {
            stage_.frame = nullptr;
            stage_.mainWindow = nullptr;
        }
        Observe();
        Line(exeName + (second ? " (second instance)" : "") + " ended, exit code " +
             std::to_string(exitCode));
    });
}

} // namespace kiposim
