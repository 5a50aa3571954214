#include "tools/kipo-sim/shell_view.h"

#include "platform/sim/device.h"
#include "tools/kipo-sim/run_log.h"

namespace kiposim {

namespace {

std::string NoDialog(const sim::Device& device) {
    if (device.ForegroundDialog() == nullptr)
        return "no dialog is in the foreground";
    return {};
}

// Why a control step did not apply: no dialog, or the control is missing, of another kind,
// hidden or disabled.
std::string ControlProblem(const sim::Device& device, int id, const char* kind) {
    std::string none = NoDialog(device);
    if (!none.empty())
        return none;
    const sim::Window* dialog = device.windows.Get(device.ForegroundDialog());
    std::string where = dialog ? " in " + QuoteCaption(dialog->caption) : "";
    return "no " + std::string(kind) + " " + std::to_string(id) + " that can be used" + where;
}

} // namespace

ShellState ReadShellState(const sim::Device& device, int process) {
    ShellState state;
    // One look-up of the icon for both answers: this is read after every tick.
    const sim::NotifyIcon* icon = device.shell.IconOf(process);
    state.iconShown = icon != nullptr;
    state.iconResource = icon != nullptr ? device.shell.IconResource(icon->icon) : 0;
    state.menuOpen = device.MenuOpen();
    return state;
}

std::string TapIcon(sim::Device& device, int, bool leftButton) {
    if (!device.TapIcon(leftButton ? WM_LBUTTONDOWN : WM_LBUTTONUP))
        return "the program shows no notification icon";
    return {};
}

std::string TapIconWith(sim::Device& device, unsigned mouseMessage,
                        std::optional<unsigned> iconId) {
    if (!device.TapIcon(mouseMessage, iconId))
        return "the program shows no notification icon";
    return {};
}

std::string ChooseMenuItem(sim::Device& device, const WString& text) {
    if (!device.MenuOpen())
        return "no popup menu is open";
    if (device.ChooseMenuItem(text))
        return {};
    std::string items;
    for (const WString& item : device.MenuItems())
        if (!item.empty())
            items += (items.empty() ? "" : ", ") + QuoteCaption(item);
    return "the popup menu has no item " + QuoteCaption(text) + " (it has " + items + ")";
}

std::string DismissMenu(sim::Device& device) {
    if (!device.DismissMenu())
        return "no popup menu is open";
    return {};
}

std::string TypeText(sim::Device& device, int, int id, const WString& text) {
    return device.TypeText(id, text) ? "" : ControlProblem(device, id, "edit control");
}

std::string SetCheck(sim::Device& device, int, int id, bool on) {
    return device.SetCheck(id, on) ? "" : ControlProblem(device, id, "check box");
}

std::string SelectItem(sim::Device& device, int, int id, int item) {
    return device.SelectItem(id, item) ? "" : ControlProblem(device, id, "drop-down list");
}

std::string ChooseRadio(sim::Device& device, int, int id) {
    return device.ChooseRadio(id) ? "" : ControlProblem(device, id, "radio button");
}

std::string ClickButton(sim::Device& device, int, int id) {
    return device.ClickButton(id) ? "" : ControlProblem(device, id, "button");
}

namespace {

std::string NothingInView(const sim::Device& device, int id) {
    if (device.DialogInView() == nullptr)
        return "no dialog is open";
    return "the dialog has no such control " + std::to_string(id);
}

} // namespace

std::optional<WString> ControlText(const sim::Device& device, int, int id, std::string& problem) {
    std::optional<WString> text = device.ControlText(id);
    if (!text)
        problem = NothingInView(device, id);
    return text;
}

std::optional<bool> ControlChecked(const sim::Device& device, int, int id, std::string& problem) {
    std::optional<bool> checked = device.ControlChecked(id);
    if (!checked)
        problem = NothingInView(device, id);
    return checked;
}

std::optional<int> ControlSelection(const sim::Device& device, int, int id, std::string& problem) {
    std::optional<int> item = device.ControlSelection(id);
    if (!item)
        problem = NothingInView(device, id);
    return item;
}

namespace {

const sim::Window* DialogWindow(const sim::Device& device, std::string& problem) {
    const sim::Window* dialog = device.windows.Get(device.DialogInView());
    if (dialog == nullptr)
        problem = "no dialog is open";
    return dialog;
}

} // namespace

std::optional<std::vector<WString>> StaticTexts(const sim::Device& device, std::string& problem) {
    const sim::Window* dialog = DialogWindow(device, problem);
    if (dialog == nullptr)
        return std::nullopt;
    std::vector<WString> texts;
    for (HWND child : dialog->children)
        if (const sim::Window* w = device.windows.Get(child);
            w != nullptr && w->className == u"STATIC")
            texts.push_back(w->caption);
    return texts;
}

std::optional<bool> ControlVisible(const sim::Device& device, int id, std::string& problem) {
    const sim::Window* dialog = DialogWindow(device, problem);
    if (dialog == nullptr)
        return std::nullopt;
    for (HWND child : dialog->children)
        if (const sim::Window* w = device.windows.Get(child);
            w != nullptr && static_cast<int>(w->id) == id)
            return w->Visible();
    problem =
        "the dialog " + QuoteCaption(dialog->caption) + " has no control " + std::to_string(id);
    return std::nullopt;
}

int WindowsCaptioned(const sim::Device& device, const WString& caption) {
    int count = 0;
    for (HWND handle : device.windows.TopLevel())
        if (const sim::Window* w = device.windows.Get(handle);
            w != nullptr && w->caption == caption)
            ++count;
    return count;
}

std::optional<BoxView> MessageBoxInView(const sim::Device& device) {
    const sim::DialogRecord* newest = nullptr;
    for (HWND handle : device.windows.TopLevel()) {
        const sim::DialogRecord* record = device.dialogs.Find(handle);
        if (record == nullptr || !record->messageBox || record->ended)
            continue;
        if (handle == device.windows.Foreground()) {
            newest = record;
            break;
        }
        if (newest == nullptr || record->serial > newest->serial)
            newest = record;
    }
    const sim::Window* w = newest != nullptr ? device.windows.Get(newest->window) : nullptr;
    if (w == nullptr)
        return std::nullopt;
    return BoxView{newest->text, w->caption, newest->type};
}

} // namespace kiposim
