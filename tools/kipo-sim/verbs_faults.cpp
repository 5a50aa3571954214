// Device states and failures that the ordinary set-up cannot reach: failing platform
// operations, a timer message arriving in the middle of Kipo's work, the Microsoft stack's
// other modes, the WLAN adapter between full power and off, another holder of Application
// Button 1.
#include "platform/model/bluetooth_radio.h"
#include "platform/model/wlan_adapter.h"
#include "platform/sim/device.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/stage.h"
#include "tools/kipo-sim/verb.h"

namespace kiposim {

using parse::Cursor;

namespace {

const std::string kDone;

struct FaultSwitch {
    const char* name;
    bool sim::Faults::*flag;
};

const FaultSwitch kSwitches[] = {
    {"registry-open", &sim::Faults::registryOpen},
    {"registry-create", &sim::Faults::registryCreate},
    {"registry-write", &sim::Faults::registryWrite},
    {"create-event", &sim::Faults::createEvent},
    {"notify-icon", &sim::Faults::notifyIcon},
    {"create-frame", &sim::Faults::createTopLevel},
    {"modal-run", &sim::Faults::modalRun},
    {"load-menu", &sim::Faults::loadMenu},
};

// The faults that are not a switch of the device's own.
constexpr const char* kNoExport = "no-unregisterfunc1";
constexpr const char* kTimerInTick = "timer-in-tick";
constexpr const char* kTimerInLoad = "timer-in-load-settings";

void ParseFault(Cursor& c, Step& s) {
    std::vector<const char*> names;
    for (const FaultSwitch& f : kSwitches)
        names.push_back(f.name);
    const int column = c.Column();
    const std::string name = c.Word("a fault");
    bool known = name == kNoExport || name == kTimerInTick || name == kTimerInLoad;
    for (const char* n : names)
        known = known || name == n;
    if (!known) {
        std::string all;
        for (const char* n : names)
            all += std::string(all.empty() ? "" : ", ") + n;
        c.Fail(column, "unknown fault `" + name + "` (" + all + ", " + kNoExport + ", " +
                           kTimerInTick + ", " + kTimerInLoad + ")");
    }
    s.member = name;
    s.on = true;
    if (!c.AtEnd())
        s.on = parse::OnOff(c);
    // The timer faults watch Kipo's calls for the moment to strike.
    s.usesCallLog = name == kTimerInTick || name == kTimerInLoad;
}

std::string ApplyFault(Stage& stage, const Step& s) {
    sim::Device& device = stage.Device();
    for (const FaultSwitch& f : kSwitches)
        if (s.member == f.name)
            device.faults.*f.flag = s.on;
    if (s.member == kNoExport)
        device.libraries.SetExportMissing("UnregisterFunc1", s.on);
    // Inside a tick Kipo first asks for the foreground window; inside LoadSettings it reads
    // values. The message arrives when it next does so, once.
    if (s.member == kTimerInTick)
        stage.timerAt = s.on ? "GetForegroundWindow" : "";
    if (s.member == kTimerInLoad)
        stage.timerAt = s.on ? "RegQueryValueExW" : "";
    return kDone;
}

const Verb kVerbs[] = {
    {"fault", VerbGroup::Registry, false, ParseFault, ApplyFault,
     [](const Step& s) { return "fault: " + s.member + (s.on ? " on" : " off"); }},
    {"bt-mode", VerbGroup::SetUp, false,
     [](Cursor& c, Step& s) { s.count = c.Number("a Bluetooth mode", 0, 0xFFFFFFFFLL); },
     [](Stage& stage, const Step& s) {
         if (stage.setUp.stack != StackKind::Microsoft)
             return std::string("`bt-mode` needs `stack microsoft`");
         stage.setUp.btMode = s.count;
         if (stage.deviceReady)
             stage.Device().handheld.bluetooth.SetRawMode(static_cast<DWORD>(s.count));
         return kDone;
     },
     nullptr},
    {"app1-holder", VerbGroup::Action, false,
     [](Cursor& c, Step& s) { s.caption = c.String("the holder window's caption"); },
     [](Stage& stage, const Step& s) {
         sim::Device& device = stage.Device();
         const HWND window = device.OpenWindowBehind(s.caption);
         device.windows.hotKeys.Release(MOD_WIN, VK_APP1);
         const sim::Window* w = device.windows.Get(window);
         if (w == nullptr ||
             device.windows.hotKeys.Register(window, VK_APP1, MOD_WIN, VK_APP1, w->process) != 0)
             return std::string("the holder could not take Application Button 1");
         return kDone;
     },
     [](const Step& s) {
         return "Application Button 1 taken by another program's window " + QuoteCaption(s.caption);
     }},
};

} // namespace

std::span<const Verb> FaultVerbs() {
    return kVerbs;
}

} // namespace kiposim
