// The scenario's set-up and timed steps, done to the device from outside, as the user (or
// the device's maker) would.
#include "app/kipo_main.h"
#include "framework/app_name.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/runner.h"
#include "tools/kipo-sim/shell_view.h"

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

const char* StackText(StackKind kind) {
    return kind == StackKind::Widcomm     ? "Widcomm"
           : kind == StackKind::Microsoft ? "Microsoft"
                                          : "no";
}

const char* WifiText(WifiSetUp kind) {
    return kind == WifiSetUp::On       ? "on (D0)"
           : kind == WifiSetUp::Off    ? "off (D4)"
           : kind == WifiSetUp::Absent ? "absent"
                                       : "stuck at D4 until woken";
}

// A bare file name goes where programs are installed; a path is taken as it is.
WString ExePath(const WString& name) {
    if (name.find_first_of(u"\\/") != WString::npos)
        return name;
    return u"\\Program Files\\Kipo\\" + name;
}

} // namespace

std::string Runner::SettingsKeyPath() const {
    return "software\\Kipo\\" + ToUtf8(ModuleBaseName(ExePath(exeName_))) + "\\Settings";
}

// The device's hardware as the set-up steps left it, applied once, before the first step
// that needs the clock or the program.
void Runner::ApplyDeviceSetUp() {
    sim::Device& device = *device_;
    deviceReady_ = true;
    device.SetScreenSize(screenWidth_, screenHeight_);
    device.SetProgramPath(ExePath(exeName_));
    sim::SetUpBluetooth(device, ModelStack(stack_), btOn_);
    sim::SetUpWifi(device, ModelWifi(wifi_));
    if (holdUp_)
        device.PressKey(VK_UP);
    log_.Begin(Foreground(), sim::BluetoothIsOn(device), sim::WifiIsOn(device));
    ReadSeen(seen_);
    seenValid_ = true;
    Line("device on: " + std::to_string(screenWidth_) + "x" + std::to_string(screenHeight_) +
         " screen, " + StackText(stack_) + " Bluetooth stack, Bluetooth " +
         (seen_.radio[0] ? "on" : "off") + ", WiFi " + WifiText(wifi_) +
         (holdUp_ ? ", the Up key held down" : "") + "; " +
         (seen_.hasForeground ? "in front: " + QuoteCaption(seen_.caption) : "nothing in front"));
}

std::string Runner::ApplySetUp(const Step& step) {
    sim::Device& device = *device_;
    switch (step.kind) {
    case StepKind::Exe:
        exeName_ = step.text;
        if (deviceReady_)
            device.SetProgramPath(ExePath(exeName_));
        return {};
    case StepKind::Cmdline:
        cmdline_ = step.text;
        return {};
    case StepKind::Screen:
        screenWidth_ = static_cast<int>(step.number);
        screenHeight_ = static_cast<int>(step.number2);
        if (deviceReady_)
            device.SetScreenSize(screenWidth_, screenHeight_);
        return {};
    case StepKind::Stack:
        if (deviceReady_ && step.stack != stack_)
            return "the Bluetooth stack is installed once, before the first timed step";
        stack_ = step.stack;
        return {};
    case StepKind::Bt:
        btOn_ = step.on;
        if (deviceReady_)
            sim::UserSwitchBluetooth(device, step.on);
        return {};
    case StepKind::Wifi:
        wifi_ = step.wifi;
        if (deviceReady_)
            sim::SetUpWifi(device, ModelWifi(wifi_));
        return {};
    case StepKind::HoldUp:
        holdUp_ = true;
        if (deviceReady_)
            device.PressKey(VK_UP);
        return {};
    default:
        return "not a set-up step";
    }
}

std::string Runner::ApplyRegistry(const Step& step) {
    sim::Registry& registry = device_->registry;
    HKEY root = HKEY_CURRENT_USER;
    WString path = FromUtf8(SettingsKeyPath());
    if (step.kind != StepKind::Setting && !sim::Registry::SplitRootPath(step.text, &root, &path))
        return "the key path " + QuoteCaption(step.text) + " names no registry root";
    switch (step.kind) {
    case StepKind::Setting:
        if (!registry.Put(root, path, step.text, step.value.RegType(), step.value.Bytes()))
            return "the registry refused the value";
        return {};
    case StepKind::Reg:
        if (!registry.Put(root, path, step.text2, step.value.RegType(), step.value.Bytes()))
            return "the registry refused the value";
        return {};
    case StepKind::RegDelete:
        // Deleting what is not there is no failure: the step only makes sure it is gone.
        if (step.hasText2)
            registry.Remove(root, path, step.text2);
        else
            registry.RemoveKey(root, path);
        return {};
    default:
        return "not a registry step";
    }
}

std::string Runner::Apply(const Step& step) {
    sim::Device& device = *device_;
    if (IsSetUpStep(step.kind))
        return ApplySetUp(step);
    if (IsRegistryStep(step.kind))
        return ApplyRegistry(step);
    switch (step.kind) {
    case StepKind::Open:
        device.OpenWindow(step.text);
        return {};
    case StepKind::OpenBehind:
        device.OpenWindowBehind(step.text);
        return {};
    case StepKind::Front:
        if (!device.Front(step.text))
            return "no window is captioned " + QuoteCaption(step.text);
        return {};
    case StepKind::Close:
        if (!device.Close(step.text))
            return "no window is captioned " + QuoteCaption(step.text);
        return {};
    case StepKind::Rename:
        if (!device.Rename(step.text, step.text2))
            return "no window is captioned " + QuoteCaption(step.text);
        return {};
    case StepKind::Today:
        if (!device.Front(u"Desktop"))
            return "the Today screen (\"Desktop\") is gone";
        return {};
    case StepKind::NoFront:
        device.NoForeground();
        return {};
    case StepKind::PressUp:
        device.PressKey(VK_UP);
        return {};
    case StepKind::ReleaseUp:
        device.ReleaseKey(VK_UP);
        return {};
    case StepKind::PressApp1:
        device.TapKey(VK_APP1);
        return {};
    case StepKind::UserBt:
        sim::UserSwitchBluetooth(device, step.on);
        return {};
    case StepKind::UserWifi:
        sim::UserSwitchWifi(device, step.on);
        return {};
    default:
        return ApplyShell(step);
    }
}

void Runner::StartProgram() {
    sim::Device& device = *device_;
    int process = sim::kProgramProcess;
    const bool second = ProgramRunning();
    if (second) {
        // Another instance of the same executable: a process of its own.
        process = device.CreateProcess(ExePath(exeName_));
    } else {
        device.SetProgramPath(ExePath(exeName_));
        observerAttached_ = false;
        attachedFrame_ = nullptr;
        mainWindow_ = nullptr;
        ListenToCalls(true);
    }
    Line(ToUtf8(exeName_) + (second ? " starts again (a second instance)" : " starts") +
         (cmdline_.empty() ? "" : ", command line " + QuoteCaption(cmdline_)));
    device.ProcessById(process).running = true;
    // Each instance runs on a thread of its own, side by side with the others.
    device.StartThread(process, [this, process, second, commandLine = cmdline_] {
        const int exitCode = KipoMain(GetModuleHandleW(nullptr), commandLine.c_str());
        device_->ProcessById(process).running = false;
        if (!second) {
            attachedFrame_ = nullptr;
            mainWindow_ = nullptr;
        }
        Observe();
        Line(ToUtf8(exeName_) + (second ? " (second instance)" : "") + " ended, exit code " +
             std::to_string(exitCode));
    });
}

} // namespace kiposim

namespace kiposim {

std::string Runner::ApplyShell(const Step& step) {
    sim::Device& device = *device_;
    const int program = sim::kProgramProcess;
    const int id = static_cast<int>(step.number);
    switch (step.kind) {
    case StepKind::Tap:
        return TapIcon(device, program, true);
    case StepKind::TapOther:
        return TapIcon(device, program, false);
    case StepKind::Menu:
        return ChooseMenuItem(device, step.text);
    case StepKind::Dismiss:
        return DismissMenu(device);
    case StepKind::Type:
        return TypeText(device, program, id, step.text);
    case StepKind::Check:
        return SetCheck(device, program, id, step.on);
    case StepKind::Select:
        return SelectItem(device, program, id, static_cast<int>(step.number2));
    case StepKind::Choose:
        return ChooseRadio(device, program, id);
    case StepKind::Click:
        return ClickButton(device, program, id);
    default:
        return std::string("`") + StepName(step.kind) + "` is not a step the device can do";
    }
}

} // namespace kiposim
