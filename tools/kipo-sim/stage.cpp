#include "tools/kipo-sim/stage.h"

#include "framework/app_name.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"

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
    }
    return model::WlanSetUp::Off;
}

} // namespace

void Stage::PowerOn() {
    deviceReady = true;
    device->SetScreenSize(setUp.screenWidth, setUp.screenHeight);
    device->SetProgramPath(ExePath());
    sim::SetUpBluetooth(*device, ModelStack(setUp.stack), setUp.btOn);
    ApplyWifi();
    if (setUp.holdUp)
        device->PressKey(VK_UP);
}

void Stage::ApplyWifi() {
    sim::SetUpWifi(*device, ModelWifi(setUp.wifi));
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
