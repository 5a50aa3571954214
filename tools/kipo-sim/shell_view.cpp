#include "tools/kipo-sim/shell_view.h"

#include "platform/sim/device.h"

namespace kiposim {

namespace {

// Until the simulated shell keeps notification icons, menus and dialogs, steps that need
// them say so instead of pretending.
const char* kNoShell = "the simulated device has no shell for icons, menus and dialogs yet";

} // namespace

ShellState ReadShellState(const sim::Device&, int) {
    return {};
}

std::string TapIcon(sim::Device&, int, bool) {
    return kNoShell;
}
std::string ChooseMenuItem(sim::Device&, const WString&) {
    return kNoShell;
}
std::string DismissMenu(sim::Device&) {
    return kNoShell;
}
std::string TypeText(sim::Device&, int, int, const WString&) {
    return kNoShell;
}
std::string SetCheck(sim::Device&, int, int, bool) {
    return kNoShell;
}
std::string SelectItem(sim::Device&, int, int, int) {
    return kNoShell;
}
std::string ChooseRadio(sim::Device&, int, int) {
    return kNoShell;
}
std::string ClickButton(sim::Device&, int, int) {
    return kNoShell;
}

std::optional<WString> ControlText(const sim::Device&, int, int, std::string& problem) {
    problem = kNoShell;
    return std::nullopt;
}
std::optional<bool> ControlChecked(const sim::Device&, int, int, std::string& problem) {
    problem = kNoShell;
    return std::nullopt;
}
std::optional<int> ControlSelection(const sim::Device&, int, int, std::string& problem) {
    problem = kNoShell;
    return std::nullopt;
}

} // namespace kiposim
