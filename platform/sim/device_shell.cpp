// The device side of the shell, menus and dialogs: the boot-time classes, and what the
// simulated user does with the notification icon, the popup menu and the program's dialogs.
#include <string>

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/window_ops.h"

namespace sim {

namespace {

std::string Utf8(const WString& text) {
    return ToUtf8(text);
}

// A tap on a disabled dialog reaches none of its controls. As Windows answers a tap on a
// disabled window, the frontmost visible, enabled window it owns comes to the front instead:
// the message box the dialog owns. True when that happened.
bool TapOnDisabledDialog(Device& device) {
    const HWND dialog = device.ForegroundDialog();
    const Window* w = device.windows.Get(dialog);
    if (w == nullptr || w->Enabled())
        return false;
    for (HWND other : device.windows.TopLevel()) {
        const Window* popup = device.windows.Get(other);
        if (popup != nullptr && popup->owner == dialog && popup->Visible() && popup->Enabled()) {
            Activate(other);
            return true;
        }
    }
    return false;
}

// A control of `dialog` the user can reach: there, visible and enabled, with its window.
const Window* Reachable(const Device& device, HWND dialog, int id, HWND& control) {
    control = nullptr;
    const Window* parent = device.windows.Get(dialog);
    if (parent == nullptr || !parent->Visible() || !parent->Enabled())
        return nullptr;
    for (HWND child : parent->children) {
        const Window* w = device.windows.Get(child);
        if (w != nullptr && static_cast<int>(w->id) == id && w->Visible() && w->Enabled()) {
            control = child;
            return w;
        }
    }
    return nullptr;
}

// Any control of `dialog` with this identifier, visible or not.
HWND AnyControl(const Device& device, HWND dialog, int id) {
    const Window* parent = device.windows.Get(dialog);
    if (parent == nullptr)
        return nullptr;
    for (HWND child : parent->children)
        if (const Window* w = device.windows.Get(child);
            w != nullptr && static_cast<int>(w->id) == id)
            return child;
    return nullptr;
}

bool IsButtonClass(const Window& w) {
    return w.className == TEXT("BUTTON");
}

} // namespace

void Device::BootShell() {
    Controls::RegisterSystemClasses();
    RegisterDialogClass();
}

bool Device::TapIcon(UINT mouseMessage, std::optional<UINT> iconId) {
    const NotifyIcon* icon = shell.IconOf(kProgramProcess);
    bool tapped = false;
    if (icon != nullptr && (icon->flags & NIF_MESSAGE) != 0 && windows.Exists(icon->window)) {
        ProcessScope scope(*this, kShellProcess);
        tapped = Post(icon->window, icon->callbackMessage, iconId.value_or(icon->id),
                      static_cast<LPARAM>(mouseMessage));
    }
    if (iconId)
        trace.VoidCall("device:tap", mouseMessage, *iconId);
    else
        trace.VoidCall("device:tap", mouseMessage);
    return tapped;
}

bool Device::IconShown() const {
    return shell.IconOf(kProgramProcess) != nullptr;
}

WORD Device::IconResource() const {
    const NotifyIcon* icon = shell.IconOf(kProgramProcess);
    return icon == nullptr ? 0 : shell.IconResource(icon->icon);
}

bool Device::MenuOpen() const {
    return menus.tracking.has_value() && !menus.tracking->closed;
}

std::vector<WString> Device::MenuItems() const {
    std::vector<WString> texts;
    if (!MenuOpen())
        return texts;
    if (const MenuObject* menu = menus.Get(menus.tracking->menu))
        for (const MenuEntry& entry : menu->items)
            if ((entry.flags & MF_SEPARATOR) == 0)
                texts.push_back(PlainMenuText(entry.text));
    return texts;
}

bool Device::ChooseMenuItem(const WString& text) {
    bool chosen = false;
    if (MenuOpen()) {
        if (const MenuObject* menu = menus.Get(menus.tracking->menu)) {
            for (const MenuEntry& entry : menu->items) {
                const bool choosable =
                    (entry.flags & (MF_SEPARATOR | MF_GRAYED)) == 0 && entry.popup == nullptr;
                if (choosable && PlainMenuText(entry.text) == text) {
                    menus.tracking->chosen = entry.id;
                    menus.tracking->closed = true;
                    chosen = true;
                    break;
                }
            }
        }
    }
    trace.VoidCall("device:menu", Utf8(text));
    return chosen;
}

bool Device::DismissMenu() {
    const bool open = MenuOpen();
    if (open) {
        menus.tracking->chosen = 0;
        menus.tracking->closed = true;
    }
    trace.VoidCall("device:dismiss");
    return open;
}

HWND Device::ForegroundDialog() const {
    const HWND foreground = windows.Foreground();
    const DialogRecord* record = dialogs.Find(foreground);
    return record != nullptr && !record->ended ? foreground : nullptr;
}

HWND Device::NewestDialog() const {
    return dialogs.Newest(0);
}

HWND Device::DialogInView() const {
    const HWND foreground = ForegroundDialog();
    return foreground != nullptr ? foreground : NewestDialog();
}

bool Device::TypeText(int id, const WString& text) {
    if (TapOnDisabledDialog(*this)) {
        trace.VoidCall("device:type", id, Utf8(text));
        return true;
    }
    HWND control = nullptr;
    const Window* w = Reachable(*this, ForegroundDialog(), id, control);
    ControlState* state = control != nullptr ? dialogs.controls.Find(control) : nullptr;
    const bool typed = w != nullptr && state != nullptr && state->kind == ControlKind::Edit;
    if (typed) {
        state->pending = text;
        Post(control, SIM_USER_TYPE, 0, 0);
    }
    trace.VoidCall("device:type", id, Utf8(text));
    return typed;
}

bool Device::SetCheck(int id, bool on) {
    if (TapOnDisabledDialog(*this)) {
        trace.VoidCall("device:check", id, on ? 1 : 0);
        return true;
    }
    HWND control = nullptr;
    const Window* w = Reachable(*this, ForegroundDialog(), id, control);
    const bool done = w != nullptr && IsButtonClass(*w) && IsCheckBox(w->style);
    if (done) {
        const ControlState* state = dialogs.controls.Find(control);
        const bool checked = state != nullptr && state->check != BST_UNCHECKED;
        if (checked != on)
            Post(control, BM_CLICK, 0, 0); // the user taps it to change it
    }
    trace.VoidCall("device:check", id, on ? 1 : 0);
    return done;
}

bool Device::SelectItem(int id, int index) {
    if (TapOnDisabledDialog(*this)) {
        trace.VoidCall("device:select", id, index);
        return true;
    }
    HWND control = nullptr;
    const Window* w = Reachable(*this, ForegroundDialog(), id, control);
    const ControlState* state = control != nullptr ? dialogs.controls.Find(control) : nullptr;
    const bool done = w != nullptr && state != nullptr && state->kind == ControlKind::ComboBox &&
                      index >= -1 && index < static_cast<int>(state->items.size());
    if (done)
        Post(control, SIM_USER_SELECT, static_cast<WPARAM>(static_cast<LONG_PTR>(index)), 0);
    trace.VoidCall("device:select", id, index);
    return done;
}

bool Device::ChooseRadio(int id) {
    if (TapOnDisabledDialog(*this)) {
        trace.VoidCall("device:choose", id);
        return true;
    }
    HWND control = nullptr;
    const Window* w = Reachable(*this, ForegroundDialog(), id, control);
    const bool done = w != nullptr && IsButtonClass(*w) && IsRadioButton(w->style);
    if (done)
        Post(control, BM_CLICK, 0, 0);
    trace.VoidCall("device:choose", id);
    return done;
}

bool Device::ClickButton(int id) {
    if (TapOnDisabledDialog(*this)) {
        trace.VoidCall("device:click", id);
        return true;
    }
    const HWND dialog = ForegroundDialog();
    HWND control = nullptr;
    const Window* w = Reachable(*this, dialog, id, control);
    bool done = false;
    if (w != nullptr && IsButtonClass(*w) && ButtonType(w->style) != BS_GROUPBOX) {
        Post(control, BM_CLICK, 0, 0);
        done = true;
    } else if (id == IDOK && w == nullptr) {
        // The OK button in the caption sends the dialog what its button 1 would.
        const DialogRecord* record = dialogs.Find(dialog);
        const Window* window = windows.Get(dialog);
        if (record != nullptr && record->captionOk && window != nullptr && window->Enabled()) {
            Post(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            done = true;
        }
    }
    trace.VoidCall("device:click", id);
    return done;
}

std::optional<WString> Device::ControlText(int id) const {
    const HWND control = AnyControl(*this, DialogInView(), id);
    const Window* w = windows.Get(control);
    if (w == nullptr)
        return std::nullopt;
    const ControlState* state = dialogs.controls.Find(control);
    if (state != nullptr && state->kind == ControlKind::ComboBox)
        return state->selection < 0 ? WString()
                                    : state->items[static_cast<std::size_t>(state->selection)];
    return w->caption;
}

std::optional<bool> Device::ControlChecked(int id) const {
    const HWND control = AnyControl(*this, DialogInView(), id);
    const Window* w = windows.Get(control);
    const ControlState* state = dialogs.controls.Find(control);
    if (w == nullptr || state == nullptr || !IsButtonClass(*w) ||
        !(IsCheckBox(w->style) || IsRadioButton(w->style)))
        return std::nullopt;
    return state->check != BST_UNCHECKED;
}

std::optional<int> Device::ControlSelection(int id) const {
    const HWND control = AnyControl(*this, DialogInView(), id);
    const ControlState* state = dialogs.controls.Find(control);
    if (state == nullptr || state->kind != ControlKind::ComboBox)
        return std::nullopt;
    return state->selection;
}

HWND Device::OpenMessageBox() const {
    const std::vector<const DialogRecord*> open = dialogs.Open();
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if ((*it)->messageBox && !(*it)->ended)
            return (*it)->window;
    return nullptr;
}

WString Device::MessageBoxText() const {
    const DialogRecord* record = dialogs.Find(OpenMessageBox());
    return record == nullptr ? WString() : record->text;
}

WString Device::MessageBoxCaption() const {
    const Window* w = windows.Get(OpenMessageBox());
    return w == nullptr ? WString() : w->caption;
}

} // namespace sim
