// The scenario's checks: each looks at the device's own state (never through a platform
// call) and, when it does not hold, says what it found instead.
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/runner.h"
#include "tools/kipo-sim/shell_view.h"

namespace kiposim {

namespace {

std::string OnOff(bool on) {
    return on ? "on" : "off";
}

std::string TypeName(DWORD type) {
    switch (type) {
    case REG_NONE:
        return "REG_NONE";
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    default:
        return "type " + std::to_string(type);
    }
}

// A stored value as a scenario would write it, for "found ..." messages.
std::string ValueText(const sim::RegValue& value) {
    if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD d = 0;
        for (int i = 3; i >= 0; --i)
            d = (d << 8) | value.data[static_cast<std::size_t>(i)];
        return "dword " + std::to_string(d);
    }
    if ((value.type == REG_SZ || value.type == REG_EXPAND_SZ) && value.data.size() % 2 == 0 &&
        value.data.size() >= 2 && value.data[value.data.size() - 1] == 0 &&
        value.data[value.data.size() - 2] == 0) {
        WString text;
        for (std::size_t i = 0; i + 2 < value.data.size(); i += 2)
            text.push_back(static_cast<WCHAR>(value.data[i] | (value.data[i + 1] << 8)));
        if (text.find(u'\0') == WString::npos)
            return (value.type == REG_SZ ? "sz " : "expand-sz ") + QuoteCaption(text, 200);
    }
    std::string hex;
    const char* digits = "0123456789abcdef";
    for (std::size_t i = 0; i < value.data.size() && i < 64; ++i) {
        hex += digits[value.data[i] >> 4];
        hex += digits[value.data[i] & 15];
    }
    if (value.data.size() > 64)
        hex += "...";
    return TypeName(value.type) + " of " + std::to_string(value.data.size()) + " bytes " + hex;
}

std::string CheckValue(const sim::RegValue* value, const RegData& wanted) {
    if (wanted.kind == RegData::Kind::Absent)
        return value == nullptr ? "" : "the value exists: " + ValueText(*value);
    if (value == nullptr)
        return "the value is absent";
    if (value->type != wanted.RegType() || value->data != wanted.Bytes())
        return "found " + ValueText(*value);
    return {};
}

} // namespace

std::string Runner::Check(const Step& step) {
    sim::Device& device = *device_;
    const int program = sim::kProgramProcess;
    std::string problem;
    switch (step.kind) {
    case StepKind::ExpectBt: {
        bool on = sim::BluetoothIsOn(device);
        return on == step.on ? "" : "Bluetooth is " + OnOff(on);
    }
    case StepKind::ExpectWifi: {
        bool on = sim::WifiIsOn(device);
        return on == step.on ? "" : "the WLAN adapter is " + OnOff(on) + (on ? " (D0)" : "");
    }
    case StepKind::ExpectRunning:
        return ProgramRunning() ? "" : "the program is not running";
    case StepKind::ExpectEnded:
        return ProgramRunning() ? "the program is still running" : "";
    case StepKind::ExpectIcon: {
        ShellState shell = ReadShellState(device, program);
        switch (step.icon) {
        case IconCheck::Shown:
            return shell.iconShown ? "" : "no notification icon of the program is shown";
        case IconCheck::Hidden:
            return shell.iconShown
                       ? "the icon is shown (icon " + std::to_string(shell.iconResource) + ")"
                       : "";
        case IconCheck::Resource:
            if (!shell.iconShown)
                return "no notification icon of the program is shown";
            return shell.iconResource == step.number
                       ? ""
                       : "the icon shows icon " + std::to_string(shell.iconResource);
        }
        return {};
    }
    case StepKind::ExpectMenu: {
        bool open = ReadShellState(device, program).menuOpen;
        return open == step.on ? ""
                               : std::string("the popup menu is ") + (open ? "open" : "closed");
    }
    case StepKind::ExpectWindow: {
        const sim::Window* found = nullptr;
        for (HWND handle : device.windows.TopLevel()) {
            const sim::Window* w = device.windows.Get(handle);
            if (w != nullptr && w->caption == step.text) {
                found = w;
                break;
            }
        }
        const char* state = found == nullptr ? "absent" : found->Visible() ? "visible" : "hidden";
        const char* wanted = step.window == WindowCheck::Visible  ? "visible"
                             : step.window == WindowCheck::Hidden ? "hidden"
                                                                  : "absent";
        return std::string(state) == wanted ? "" : std::string("the window is ") + state;
    }
    case StepKind::ExpectForeground: {
        std::optional<WString> front = Foreground();
        if (!step.on)
            return front ? "in front: " + QuoteCaption(*front) : "";
        if (!front)
            return "no window is in the foreground";
        return *front == step.text ? "" : "in front: " + QuoteCaption(*front);
    }
    case StepKind::ExpectText: {
        std::optional<WString> text =
            ControlText(device, program, static_cast<int>(step.number), problem);
        if (!text)
            return problem;
        return *text == step.text ? "" : "the text is " + QuoteCaption(*text, 200);
    }
    case StepKind::ExpectChecked: {
        std::optional<bool> checked =
            ControlChecked(device, program, static_cast<int>(step.number), problem);
        if (!checked)
            return problem;
        return *checked == step.on ? "" : "it is " + std::string(*checked ? "checked" : "clear");
    }
    case StepKind::ExpectSelected: {
        std::optional<int> item =
            ControlSelection(device, program, static_cast<int>(step.number), problem);
        if (!item)
            return problem;
        return *item == step.number2 ? "" : "item " + std::to_string(*item) + " is selected";
    }
    case StepKind::ExpectSetting:
        return CheckValue(
            device.registry.Find(HKEY_CURRENT_USER, FromUtf8(SettingsKeyPath()), step.text),
            step.value);
    case StepKind::ExpectReg: {
        HKEY root = nullptr;
        WString path;
        if (!sim::Registry::SplitRootPath(step.text, &root, &path))
            return "the key path names no registry root";
        return CheckValue(device.registry.Find(root, path, step.text2), step.value);
    }
    case StepKind::ExpectKey: {
        HKEY root = nullptr;
        WString path;
        if (!sim::Registry::SplitRootPath(step.text, &root, &path))
            return "the key path names no registry root";
        bool exists = device.registry.KeyExists(root, path);
        return exists == step.on ? "" : std::string("the key ") + (exists ? "exists" : "is absent");
    }
    case StepKind::ExpectInterval: {
        const HWND main = MainWindow();
        const sim::Timer* timer = main ? device.windows.timers.Find(main, 1) : nullptr;
        if (timer == nullptr)
            return main ? "the main window has no check timer" : "the program has no main window";
        return static_cast<long long>(timer->period) == step.number
                   ? ""
                   : "the period is " + std::to_string(timer->period) + " ms";
    }
    case StepKind::ExpectCalls: {
        std::uint64_t calls = device.trace.Count(step.operation);
        return calls == static_cast<std::uint64_t>(step.number)
                   ? ""
                   : std::to_string(calls) + " call" + (calls == 1 ? "" : "s") + " so far";
    }
    case StepKind::ExpectHandles: {
        int open = device.OpenHandles(program);
        if (open == step.number)
            return {};
        std::string detail;
        for (auto kind :
             {sim::HandleKind::RegistryKey, sim::HandleKind::Event, sim::HandleKind::Library}) {
            int n = device.OpenHandles(program, kind);
            if (n != 0)
                detail += (detail.empty() ? "" : ", ") + std::to_string(n) + " " +
                          sim::HandleKindName(kind);
        }
        return std::to_string(open) + " open" + (detail.empty() ? "" : " (" + detail + ")");
    }
    default:
        return "not a check";
    }
}

} // namespace kiposim
