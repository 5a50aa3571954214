// `kipo-sim why`: the real monitor tick, on a simulated device with the user's settings, for
// one caption coming to the front; printed as --explain prints a tick, with the radio calls
// the tick made and what became of each radio. No scenario is written or run.
#include <string>

#include "app/main_frame.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/commands.h"
#include "tools/kipo-sim/no_effect.h"
#include "tools/kipo-sim/settings_probe.h"
#include "tools/kipo-sim/tick_watcher.h"

namespace kiposim {

namespace {

const char* const kWhyUsage =
    "usage: kipo-sim why [--registry FILE.reg] [--running CAPTION]... [--stack widcomm|microsoft|"
    "none]\n"
    "                    [--bt on|off] [--wifi on|off|absent|stuck] CAPTION\n"
    "What Kipo does to each radio when a window captioned CAPTION comes to the front, with\n"
    "the --running windows open behind it: every rule tried, the one that decides, the radio\n"
    "calls made, and what becomes of each radio; then what every later tick does while the\n"
    "caption stays in front. The device starts with the radios off and the Widcomm stack\n"
    "(the Microsoft stack when FILE.reg holds only its keys) unless told otherwise.\n"
    "Exit status: 0, or 2 when the input cannot be read.\n";

struct WhyOptions {
    std::string registry;
    std::vector<WString> running;
    WString caption;
    bool haveCaption = false;
    std::string stack; // empty: from the file's keys
    bool btOn = false;
    model::WlanSetUp wifi = model::WlanSetUp::Off;
};

bool ParseWhy(const std::vector<std::string>& args, WhyOptions& o, std::string& error, bool& help) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) {
                error = arg + ": needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            help = true;
            return true;
        } else if (arg == "--registry") {
            if (!value(o.registry))
                return false;
        } else if (arg == "--running") {
            if (!value(v))
                return false;
            o.running.push_back(FromUtf8(v));
        } else if (arg == "--stack") {
            if (!value(o.stack))
                return false;
            if (o.stack != "widcomm" && o.stack != "microsoft" && o.stack != "none") {
                error = "--stack " + o.stack + ": expected widcomm, microsoft or none";
                return false;
            }
        } else if (arg == "--bt") {
            if (!value(v))
                return false;
            if (v != "on" && v != "off") {
                error = "--bt " + v + ": expected on or off";
                return false;
            }
            o.btOn = v == "on";
        } else if (arg == "--wifi") {
            if (!value(v))
                return false;
            if (v == "on")
                o.wifi = model::WlanSetUp::On;
            else if (v == "off")
                o.wifi = model::WlanSetUp::Off;
            else if (v == "absent")
                o.wifi = model::WlanSetUp::Absent;
            else if (v == "stuck")
                o.wifi = model::WlanSetUp::Stuck;
            else {
                error = "--wifi " + v + ": expected on, off, absent or stuck";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            error = arg + ": unknown option";
            return false;
        } else {
            if (arg == "--") {
                if (++i >= args.size())
                    break;
            }
            if (o.haveCaption) {
                error = "one caption only (" + args[i] + " is a second)";
                return false;
            }
            o.caption = FromUtf8(args[i]);
            o.haveCaption = true;
        }
    }
    if (!o.haveCaption) {
        error = "which caption? (kipo-sim why \"CAPTION\")";
        return false;
    }
    return true;
}

model::BluetoothStack ChooseStack(const std::string& word, const sim::Registry& registry) {
    if (word == "microsoft")
        return model::BluetoothStack::Microsoft;
    if (word == "none")
        return model::BluetoothStack::None;
    if (word.empty() && !registry.KeyExists(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm")) &&
        registry.KeyExists(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Microsoft\\Bluetooth")))
        return model::BluetoothStack::Microsoft;
    return model::BluetoothStack::Widcomm;
}

bool IsRadioCall(const sim::TraceCall& call) {
    if (call.process != sim::kProgramProcess)
        return false;
    static const char* const kNames[] = {"SendMessageW",   "BthSetMode",     "BthGetMode",
                                         "GetDevicePower", "SetDevicePower", "KernelIoControl",
                                         "EventModify"};
    for (const char* name : kNames)
        if (call.name == name)
            return true;
    // The Widcomm stack is found by its console's caption and asked through "StackMode".
    return (call.name == "FindWindowW" &&
            call.args.find("Bluetooth Console") != std::string::npos) ||
           (call.name == "RegQueryValueExW" && call.args.find("StackMode") != std::string::npos);
}

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

class WhyRun {
  public:
    WhyRun(SettingsProbe& probe, std::FILE* out)
        : probe_(probe), out_(out), watcher_([this](const TickReport& r) { report_ = r; }) {
        watcher_.SetExplain(true);
        watcher_.SetExplainEveryTick(true);
    }

    void Tick(const WhyOptions& o, bool first) {
        sim::Device& device = probe_.Device();
        bool before[2] = {sim::BluetoothIsOn(device), sim::WifiIsOn(device)};
        device.trace.ClearRecords();
        device.trace.Enable(true);
        if (first)
            probe_.Tick(o.caption, o.running, watcher_);
        else
            probe_.TickAgain(watcher_);
        device.trace.Enable(false);

        for (const std::string& line : report_.tried)
            std::fprintf(out_, "    %s\n", line.c_str());
        const CMainFrame& frame = probe_.Frame();
        for (int r = 0; r < 2; ++r)
            if (!report_.decided[r])
                std::fprintf(out_, "    %s: %s\n", r == 0 ? "Bluetooth" : "WiFi",
                             TickWatcher::UndecidedText(
                                 r, r == 0 ? frame.DefaultAction : frame.WFDefaultAction,
                                 report_.changed, report_.endedEarly)
                                 .c_str());
        std::string calls;
        for (const sim::TraceCall& call : device.trace.Records())
            if (IsRadioCall(call))
                calls += (calls.empty() ? "" : "; ") + call.Text();
        std::fprintf(out_, "  radio calls: %s\n", calls.empty() ? "none" : calls.c_str());
        const bool after[2] = {sim::BluetoothIsOn(device), sim::WifiIsOn(device)};
        for (int r = 0; r < 2; ++r) {
            std::string text = before[r] == after[r]
                                   ? std::string("stays ") + OnOff(after[r])
                                   : std::string(OnOff(before[r])) + " -> " + OnOff(after[r]);
            if (report_.switching[r] && report_.decidedOn[r] != after[r])
                text += ": no effect (" +
                        NoEffectReason(device, frame.BTControl, r, report_.decidedOn[r]) + ")";
            std::fprintf(out_, "  %s: %s\n", r == 0 ? "Bluetooth" : "WiFi", text.c_str());
        }
    }

  private:
    SettingsProbe& probe_;
    std::FILE* out_;
    TickWatcher watcher_;
    TickReport report_;
};

} // namespace

int RunWhy(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    WhyOptions o;
    std::string error;
    bool help = false;
    if (!ParseWhy(args, o, error, help)) {
        std::fprintf(err, "kipo-sim why: %s\n%s", error.c_str(), kWhyUsage);
        return 2;
    }
    if (help) {
        std::fputs(kWhyUsage, out);
        return 0;
    }
    SettingsProbe probe;
    if (!probe.Load(o.registry, error)) {
        std::fprintf(err, "%s\n", error.c_str());
        return 2;
    }
    sim::Device& device = probe.Device();
    sim::SetUpBluetooth(device, ChooseStack(o.stack, device.registry), o.btOn);
    sim::SetUpWifi(device, o.wifi);

    std::fprintf(out, "Settings: %s; %s, Bluetooth %s, WiFi %s\n",
                 o.registry.empty() ? "the defaults" : o.registry.c_str(),
                 InstalledStackText(device).c_str(), OnOff(sim::BluetoothIsOn(device)),
                 device.handheld.wlan.Present() ? OnOff(sim::WifiIsOn(device)) : "absent");
    std::string behind;
    for (const WString& caption : o.running)
        behind += (behind.empty() ? "" : ", ") + QuoteCaption(caption);
    std::fprintf(out, "%s comes to the front%s\n", QuoteCaption(o.caption).c_str(),
                 behind.empty() ? "" : ("; open behind it: " + behind).c_str());
    WhyRun run(probe, out);
    std::fprintf(out, "first tick: the caption is new\n");
    run.Tick(o, true);
    std::fprintf(out, "every later tick while it stays in front:\n");
    run.Tick(o, false);
    return 0;
}

} // namespace kiposim
