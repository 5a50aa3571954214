// Verbs that shape the device before the program starts, registry edits, start and wait.
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/stage.h"
#include "tools/kipo-sim/verb.h"

namespace kiposim {

using parse::Cursor;

namespace {

const std::string kDone;

// The key a registry step names: the settings key for `setting`, else its own path.
std::string RegistryPlace(const Stage& stage, const Step& step, HKEY& root, WString& path) {
    root = HKEY_CURRENT_USER;
    path = FromUtf8(stage.SettingsKeyPath());
    if (!step.keyPath.empty() && !sim::Registry::SplitRootPath(step.keyPath, &root, &path))
        return "the key path " + QuoteCaption(step.keyPath) + " names no registry root";
    return {};
}

std::string PutValue(Stage& stage, const Step& step) {
    HKEY root = nullptr;
    WString path;
    std::string problem = RegistryPlace(stage, step, root, path);
    if (!problem.empty())
        return problem;
    if (!stage.Device().registry.Put(root, path, step.valueName, step.value.RegType(),
                                     step.value.Bytes()))
        return "the registry refused the value";
    return kDone;
}

std::string RegistryAction(const Step& step) {
    return "registry: " + step.source;
}

const Verb kVerbs[] = {
    {"exe", VerbGroup::SetUp, false,
     [](Cursor& c, Step& s) {
         s.text = c.String("an executable file name");
         if (s.text.empty())
             c.Fail(s.column, "the executable name cannot be empty");
     },
     [](Stage& stage, const Step& s) {
         stage.setUp.exeName = s.text;
         if (stage.deviceReady)
             stage.Device().SetProgramPath(stage.ExePath());
         return kDone;
     },
     nullptr},
    {"cmdline", VerbGroup::SetUp, false,
     [](Cursor& c, Step& s) { s.text = c.String("the command-line text"); },
     [](Stage& stage, const Step& s) {
         stage.setUp.cmdline = s.text;
         return kDone;
     },
     nullptr},
    {"screen", VerbGroup::SetUp, false,
     [](Cursor& c, Step& s) {
         s.width = static_cast<int>(c.Number("a screen width in pixels", 1, 32767));
         s.height = static_cast<int>(c.Number("a screen height in pixels", 1, 32767));
     },
     [](Stage& stage, const Step& s) {
         stage.setUp.screenWidth = s.width;
         stage.setUp.screenHeight = s.height;
         if (stage.deviceReady)
             stage.Device().SetScreenSize(s.width, s.height);
         return kDone;
     },
     nullptr},
    {"stack", VerbGroup::SetUp, false,
     [](Cursor& c, Step& s) {
         const int k = c.Choice("a Bluetooth stack", {"widcomm", "microsoft", "none"});
         s.stack = k == 0 ? StackKind::Widcomm : k == 1 ? StackKind::Microsoft : StackKind::None;
     },
     [](Stage& stage, const Step& s) {
         if (stage.deviceReady && s.stack != stage.setUp.stack)
             return std::string(
                 "the Bluetooth stack is installed once, before the first timed step");
         stage.setUp.stack = s.stack;
         return kDone;
     },
     nullptr},
    {"bt", VerbGroup::SetUp, false, [](Cursor& c, Step& s) { s.on = parse::OnOff(c); },
     [](Stage& stage, const Step& s) {
         stage.setUp.btOn = s.on;
         if (stage.deviceReady)
             sim::UserSwitchBluetooth(stage.Device(), s.on);
         return kDone;
     },
     nullptr},
    {"wifi", VerbGroup::SetUp, false,
     [](Cursor& c, Step& s) {
         static constexpr WifiSetUp kStates[] = {
             WifiSetUp::On,     WifiSetUp::Off,  WifiSetUp::Absent, WifiSetUp::Stuck,
             WifiSetUp::Broken, WifiSetUp::AtD1, WifiSetUp::AtD2,   WifiSetUp::AtD3};
         s.wifi = kStates[c.Choice("the WLAN adapter's state",
                                   {"on", "off", "absent", "stuck", "broken", "d1", "d2", "d3"})];
     },
     [](Stage& stage, const Step& s) {
         stage.setUp.wifi = s.wifi;
         if (stage.deviceReady)
             stage.ApplyWifi();
         return kDone;
     },
     nullptr},
    {"hold up", VerbGroup::SetUp, false, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         stage.setUp.holdUp = true;
         if (stage.deviceReady)
             stage.Device().PressKey(VK_UP);
         return kDone;
     },
     nullptr},
    {"setting", VerbGroup::Registry, false,
     [](Cursor& c, Step& s) {
         s.valueName = c.Name("a setting name");
         s.value = parse::Value(c, false);
     },
     PutValue, RegistryAction},
    {"reg", VerbGroup::Registry, false,
     [](Cursor& c, Step& s) {
         s.keyPath = parse::KeyPath(c);
         s.valueName = c.Name("a value name");
         s.value = parse::Value(c, false);
     },
     PutValue, RegistryAction},
    {"reg-delete", VerbGroup::Registry, false,
     [](Cursor& c, Step& s) {
         s.keyPath = parse::KeyPath(c);
         if (!c.AtEnd()) {
             s.valueName = c.Name("a value name");
             s.hasValueName = true;
         }
     },
     [](Stage& stage, const Step& s) {
         HKEY root = nullptr;
         WString path;
         std::string problem = RegistryPlace(stage, s, root, path);
         if (!problem.empty())
             return problem;
         // Deleting what is not there is no failure: the step only makes sure it is gone.
         if (s.hasValueName)
             stage.Device().registry.Remove(root, path, s.valueName);
         else
             stage.Device().registry.RemoveKey(root, path);
         return kDone;
     },
     RegistryAction},
    {"start", VerbGroup::Start, false, [](Cursor&, Step&) {}, nullptr, nullptr},
    {"wait", VerbGroup::Wait, false, [](Cursor& c, Step& s) { parse::Duration(c, s); }, nullptr,
     nullptr},
};

} // namespace

std::span<const Verb> SetUpVerbs() {
    return kVerbs;
}

} // namespace kiposim
