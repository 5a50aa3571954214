#include "tools/kipo-sim/stage.h"

#include "framework/app_name.h"
#include <cstdlib>

#include "platform/sim/device.h"
#include "platform/sim/dialogs.h"
#include "platform/sim/radios.h"
#include "platform/sim/trace.h"

namespace kiposim {

namespace {

model::BluetoothStack ModelStack(StackKind kind) {
    switch (kind) {
    case StackKind::Widcomm:
        return model::BluetoothStack::Widcomm;
    case StackKind::Microsoft:
        return model::BluetoothStack::Microsoft;
    case StackKind::None:
        break;
    }
    return model::BluetoothStack::None;
}

model::WlanSetUp ModelWifi(WifiSetUp kind) {
    switch (kind) {
    case WifiSetUp::On:
        return model::WlanSetUp::On;
    case WifiSetUp::Off:
        return model::WlanSetUp::Off;
    case WifiSetUp::Absent:
        return model::WlanSetUp::Absent;
    case WifiSetUp::Stuck:
        return model::WlanSetUp::Stuck;
    case WifiSetUp::Broken:
        return model::WlanSetUp::Broken;
    case WifiSetUp::AtD1:
    case WifiSetUp::AtD2:
    case WifiSetUp::AtD3:
        break;
    }
    return model::WlanSetUp::Off;
}

} // namespace

Caller Stage::CallerOf(int process) const {
    if (process == sim::kProgramProcess)
        return Caller::Kipo;
    for (int p : secondInstances)
        if (p == process)
            return Caller::Kipo;
    if (device->widcomm.Installed() && process == device->widcomm.Process())
        return Caller::Widcomm;
    return Caller::Others;
}

void Stage::LogCall(const sim::TraceCall& call) {
    LoggedCall logged;
    logged.name = call.name;
    logged.args = SplitArgs(call.args);
    logged.result = call.result;
    logged.caller = CallerOf(call.process);
    logged.time = call.time;
    logged.labels.resize(logged.args.size(), HandleLabel::None);
    for (std::size_t i = 0; i < logged.args.size(); ++i) {
        const std::string& arg = logged.args[i];
        if (arg.size() < 3 || arg[0] != '0' || arg[1] != 'x')
            continue;
        const auto value = std::strtoull(arg.c_str() + 2, nullptr, 16);
        const sim::Window* w = device->windows.Get(reinterpret_cast<HWND>(value));
        if (w == nullptr || w->IsChild() || CallerOf(w->process) != Caller::Kipo)
            continue;
        if (w->className == sim::kDialogClass)
            logged.labels[i] = HandleLabel::Dialog;
        else if (mainWindow == nullptr || w->handle == mainWindow)
            logged.labels[i] = HandleLabel::Main;
    }
    calls.Add(std::move(logged));
}

void Stage::PowerOn() {
    deviceReady = true;
    device->SetScreenSize(setUp.screenWidth, setUp.screenHeight);
    device->SetProgramPath(ExePath());
    sim::SetUpBluetooth(*device, ModelStack(setUp.stack), setUp.btOn);
    if (setUp.btMode)
        device->handheld.bluetooth.SetRawMode(static_cast<DWORD>(*setUp.btMode));
    ApplyWifi();
    if (setUp.holdUp)
        device->PressKey(VK_UP);
}

void Stage::ApplyWifi() {
    sim::SetUpWifi(*device, ModelWifi(setUp.wifi));
    // An adapter that takes every state, left between full power and off.
    const int between = setUp.wifi == WifiSetUp::AtD1   ? 1
                        : setUp.wifi == WifiSetUp::AtD2 ? 2
                        : setUp.wifi == WifiSetUp::AtD3 ? 3
                                                        : 0;
    if (between != 0)
        device->handheld.power.UpdateState(model::WlanAdapter::kDeviceName, between);
}

bool Stage::ProgramRunning() const {
    return device->ProcessById(sim::kProgramProcess).running;
}

HWND Stage::MainWindow() const {
    if (mainWindow != nullptr && device->windows.Exists(mainWindow))
        return mainWindow;
    return nullptr;
}

std::optional<WString> Stage::Foreground() const {
    const sim::Window* window = device->windows.Get(device->windows.Foreground());
    if (window == nullptr)
        return std::nullopt;
    return window->caption;
}

WString Stage::ExePath() const {
    if (setUp.exeName.find_first_of(u"\\/") != WString::npos)
        return setUp.exeName;
    return u"\\Program Files\\Kipo\\" + setUp.exeName;
}

std::string Stage::SettingsKeyPath() const {
    return "software\\Kipo\\" + ToUtf8(ModuleBaseName(ExePath())) + "\\Settings";
}

} // namespace kiposim
