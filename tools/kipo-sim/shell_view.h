// The shell side of the device as the scenario steps need it: the program's notification
// icon and popup menu, and the controls of its dialogs and message boxes. Kept apart from
// the runner so the runner does not depend on how the shell keeps them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace sim {
class Device;
}

namespace kiposim {

struct ShellState {
    bool iconShown = false;
    int iconResource = 0; // the icon resource the program's icon shows, 0 if unknown
    bool menuOpen = false;
};

ShellState ReadShellState(const sim::Device& device, int process);

// Each returns an empty string when it applied, else what it found instead.
std::string TapIcon(sim::Device& device, int process, bool leftButton);
// A mouse message on the icon, naming it by `iconId` when given, else by its own id.
std::string TapIconWith(sim::Device& device, unsigned mouseMessage, std::optional<unsigned> iconId);
std::string ChooseMenuItem(sim::Device& device, const WString& text);
std::string DismissMenu(sim::Device& device);
std::string TypeText(sim::Device& device, int process, int id, const WString& text);
std::string SetCheck(sim::Device& device, int process, int id, bool on);
std::string SelectItem(sim::Device& device, int process, int id, int item);
std::string ChooseRadio(sim::Device& device, int process, int id);
std::string ClickButton(sim::Device& device, int process, int id);

// Control state for checks: the control of the foreground dialog, or when the foreground
// window is not one of the program's dialogs, of its newest open dialog. Empty optional
// with `problem` set when there is no such control.
std::optional<WString> ControlText(const sim::Device& device, int process, int id,
                                   std::string& problem);
std::optional<bool> ControlChecked(const sim::Device& device, int process, int id,
                                   std::string& problem);
std::optional<int> ControlSelection(const sim::Device& device, int process, int id,
                                    std::string& problem);

// The texts of the static controls of the dialog in view (as for ControlText), in template
// order; empty optional with `problem` set when no dialog is open.
std::optional<std::vector<WString>> StaticTexts(const sim::Device& device, std::string& problem);
// Whether control `id` of the dialog in view has WS_VISIBLE itself.
std::optional<bool> ControlVisible(const sim::Device& device, int id, std::string& problem);
// Top-level windows of any program with exactly this caption, shown or hidden.
int WindowsCaptioned(const sim::Device& device, const WString& caption);

// The message box in view: the foreground window when it is one, else the newest one open.
struct BoxView {
    WString text;
    WString caption;
    unsigned type = 0; // MessageBoxW's uType as asked for
};
std::optional<BoxView> MessageBoxInView(const sim::Device& device);

} // namespace kiposim
