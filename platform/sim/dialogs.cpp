#include "platform/sim/dialogs.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/device.h"
#include "platform/sim/message_loop.h"
#include "platform/sim/messaging.h"
#include "platform/sim/window_ops.h"

namespace sim {

namespace {

WindowManager& Wm() {
    return Dev().windows;
}

// The closed height of a drop-down list: one line of the template font with its frame.
int ClosedComboHeight(BaseUnits units) {
    return DialogUnitsToPixelsY(12, units);
}

LONG_PTR MessageResult(HWND dialog) {
    const Window* window = Wm().Get(dialog);
    LONG_PTR value = 0;
    if (window != nullptr && window->extra.size() >= sizeof value)
        std::memcpy(&value, window->extra.data(), sizeof value);
    return value;
}

HWND ControlById(HWND dialog, int id) {
    const Window* window = Wm().Get(dialog);
    if (window == nullptr)
        return nullptr;
    for (HWND child : window->children)
        if (const Window* c = Wm().Get(child); c != nullptr && static_cast<int>(c->id) == id)
            return child;
    return nullptr;
}

// Enables or disables a window as EnableWindow does, without counting as a program's call.
void SetEnabled(HWND window, bool enable) {
    Window* w = Wm().Get(window);
    if (w == nullptr || w->Enabled() == enable)
        return;
    if (enable)
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
        w->style |= WS_DISABLED;
    Send(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
}

int DefaultButtonId(const DialogRecord& record) {
    if (record.defaultId != 0)
        return record.defaultId;
    for (HWND control : record.controls)
        if (const Window* w = Wm().Get(control); w != nullptr && w->className == TEXT("BUTTON") &&
                                                 ButtonType(w->style) == BS_DEFPUSHBUTTON)
            return static_cast<int>(w->id);
    return 0;
}

void Command(HWND dialog, int id) {
    Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
         reinterpret_cast<LPARAM>(ControlById(dialog, id)));
}

// What the system's dialog procedure does with what the dialog procedure left alone.
LRESULT DefaultDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialogs& dialogs = Dev().dialogs;
    DialogRecord* record = dialogs.Find(dialog);
    switch (message) {
    case WM_CLOSE:
        Post(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
             reinterpret_cast<LPARAM>(ControlById(dialog, IDCANCEL)));
        return 0;
    case WM_ACTIVATE:
        if (record == nullptr)
            break;
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = Wm().Focus(record->process);
            if (focus != nullptr && focus != dialog && Wm().IsSelfOrAncestor(dialog, focus))
                record->savedFocus = focus;
        } else {
            HWND focus = record->savedFocus;
            if (focus == nullptr || !Wm().Exists(focus))
                focus = dialogs.NextTabItem(dialog, nullptr);
            SetFocusAs(focus != nullptr ? focus : dialog);
        }
        return 0;
    case DM_GETDEFID:
        if (record != nullptr)
            if (const int id = DefaultButtonId(*record); id != 0)
                return MAKELONG(id, DC_HASDEFID);
        return 0;
    case DM_SETDEFID:
        if (record != nullptr)
            record->defaultId = static_cast<int>(wParam);
        return TRUE;
    case WM_NCDESTROY:
        dialogs.Remove(dialog);
        break;
    default:
        break;
    }
    return DefaultProc(dialog, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogRecord* record = Dev().dialogs.Find(dialog);
    if (record != nullptr && record->proc != nullptr) {
        const INT_PTR handled = record->proc(dialog, message, wParam, lParam);
        if (handled != 0 && message != WM_NCDESTROY) {
            // WM_INITDIALOG answers directly; everything else through DWL_MSGRESULT.
            return message == WM_INITDIALOG ? handled : MessageResult(dialog);
        }
    }
    if (!Wm().Exists(dialog))
        return 0;
    return DefaultDialogProc(dialog, message, wParam, lParam);
}

void RegisterDialogClass() {
    if (Wm().FindClass(0, kDialogClass) != nullptr)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DialogWindowProc;
    wc.cbWndExtra = 3 * static_cast<int>(sizeof(LONG_PTR)); // result, procedure, user value
    wc.lpszClassName = kDialogClass;
    Wm().RegisterClass(0, wc);
}

HWND Dialogs::Create(const res::Dialog& t, HINSTANCE instance, HWND parent, DLGPROC proc,
                     LPARAM initParam, bool modal) {
    Device& device = Dev();
    WindowManager& wm = device.windows;
    const BaseUnits units = BaseUnitsFor(t.fontName != nullptr ? t.pointSize : 8, 96 * wm.Scale());
    const int width = DialogUnitsToPixelsX(t.cx, units);
    const int height = DialogUnitsToPixelsY(t.cy, units);
    int x = 0;
    int y = 0;
    if ((t.style & DS_CENTER) != 0) {
        const RECT area = wm.DefaultTopLevelRect();
        x = area.left + (area.right - area.left - width) / 2;
        y = area.top + (area.bottom - area.top - height) / 2;
    } else {
        if (parent != nullptr && wm.Exists(parent)) {
            const RECT origin = wm.ScreenRect(wm.TopLevelOf(parent));
            x = origin.left;
            y = origin.top;
        }
        x += DialogUnitsToPixelsX(t.x, units);
        y += DialogUnitsToPixelsY(t.y, units);
    }
    const DWORD style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
    const HWND dialog = CreateWindowAs(t.exStyle, kDialogClass, t.caption, style, x, y, width,
                                       height, parent, nullptr, instance, nullptr);
    if (dialog == nullptr)
        return nullptr;

    auto owned = std::make_unique<DialogRecord>();
    owned->window = dialog;
    owned->process = device.CurrentProcess();
    owned->serial = nextSerial_++;
    owned->source = &t;
    owned->units = units;
    owned->modal = modal;
    owned->captionOk = (t.exStyle & WS_EX_CAPTIONOKBTN) != 0;
    records_.push_back(std::move(owned));

    for (const res::Control& c : t.controls) {
        const DWORD controlId = static_cast<DWORD>(c.id); // -1: 0xFFFFFFFF, as templates keep it
        const int cx = DialogUnitsToPixelsX(c.cx, units);
        const int cy = DialogUnitsToPixelsY(c.cy, units);
        const HWND control = CreateWindowAs(
            c.exStyle, c.className, c.iconId != 0 ? nullptr : c.text, c.style | WS_CHILD,
            DialogUnitsToPixelsX(c.x, units), DialogUnitsToPixelsY(c.y, units), cx, cy, dialog,
            reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(controlId)), instance, nullptr);
        DialogRecord* record = Find(dialog);
        if (record == nullptr)
            return nullptr; // destroyed while its controls were made
        if (control == nullptr) {
            if ((t.style & DS_NOFAILCREATE) != 0)
                continue;
            DestroyWindowAs(dialog);
            return nullptr;
        }
        record->controls.push_back(control);
        if (c.iconId != 0)
            Send(control, STM_SETICON, reinterpret_cast<WPARAM>(device.shell.IconHandle(c.iconId)),
                 0);
        if (Window* w = wm.Get(control); w != nullptr && w->className == TEXT("COMBOBOX")) {
            if (ControlState* state = controls.Find(control))
                state->droppedHeight = cy;
            w->rect.bottom = w->rect.top + std::min(cy, ClosedComboHeight(units));
        }
    }

    if (DialogRecord* record = Find(dialog))
        record->proc = proc;
    const LRESULT focusFirst =
        Send(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(InitialFocus(dialog)), initParam);
    if (!wm.Exists(dialog))
        return nullptr;
    // TRUE asks for the default focus, looked up again: WM_INITDIALOG may have changed the
    // controls. Activation later gives the focus back to the same control.
    if (focusFirst != 0)
        if (HWND first = InitialFocus(dialog)) {
            SetFocusAs(first);
            if (DialogRecord* record = Find(dialog))
                record->savedFocus = first;
        }
    const DialogRecord* record = Find(dialog);
    if ((t.style & WS_VISIBLE) != 0 && record != nullptr && !record->ended) {
        if (const Window* w = wm.Get(dialog); w != nullptr && !w->Visible())
            ShowWindowAs(dialog, SW_SHOWNORMAL);
        if ((t.style & DS_SETFOREGROUND) != 0 && wm.Exists(dialog))
            Activate(dialog);
    }
    return wm.Exists(dialog) ? dialog : nullptr;
}

INT_PTR Dialogs::RunModal(HWND dialog) {
    WindowManager& wm = Dev().windows;
    DialogRecord* record = Find(dialog);
    if (record == nullptr)
        return -1;
    record->modal = true;
    if (!record->ended) {
        if (const Window* w = wm.Get(dialog); w != nullptr && w->owner != nullptr) {
            if (const Window* owner = wm.Get(w->owner); owner != nullptr && owner->Enabled()) {
                record->disabledOwner = w->owner;
                SetEnabled(w->owner, false);
            }
        }
        // A modal dialog is shown even when its template is not visible.
        if (const Window* w = wm.Get(dialog); w != nullptr && !w->Visible())
            ShowWindowAs(dialog, SW_SHOWNORMAL);
        RunMessageLoopUntil(
            [this, dialog] {
                const DialogRecord* r = Find(dialog);
                return r == nullptr || r->ended;
            },
            [this, dialog](MSG& msg) { return PreTranslate(dialog, msg); });
    }
    INT_PTR result = 0;
    if (DialogRecord* r = Find(dialog)) {
        result = r->result;
        if (r->disabledOwner != nullptr) {
            SetEnabled(r->disabledOwner, true);
            r->disabledOwner = nullptr;
        }
    }
    if (wm.Exists(dialog))
        DestroyWindowAs(dialog);
    return result;
}

bool Dialogs::End(HWND dialog, INT_PTR result) {
    DialogRecord* record = Find(dialog);
    if (record == nullptr)
        return false;
    record->ended = true;
    record->result = result;
    if (record->disabledOwner != nullptr) {
        SetEnabled(record->disabledOwner, true);
        record->disabledOwner = nullptr;
    }
    const HWND focus = Wm().Focus(record->process);
    if (focus != nullptr && focus != dialog && Wm().IsSelfOrAncestor(dialog, focus))
        SetFocusAs(dialog);
    ShowWindowAs(dialog, SW_HIDE);
    return true;
}

DialogRecord* Dialogs::Find(HWND dialog) {
    for (auto& record : records_)
        if (record->window == dialog)
            return record.get();
    return nullptr;
}

const DialogRecord* Dialogs::Find(HWND dialog) const {
    return const_cast<Dialogs*>(this)->Find(dialog);
}

void Dialogs::Remove(HWND dialog) {
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [dialog](const auto& r) { return r->window == dialog; }),
                   records_.end());
}

std::vector<const DialogRecord*> Dialogs::Open() const {
    std::vector<const DialogRecord*> open;
    for (const auto& record : records_)
        if (Wm().Exists(record->window))
            open.push_back(record.get());
    return open; // records are kept in creation order
}

HWND Dialogs::Newest(int process) const {
    for (auto it = records_.rbegin(); it != records_.rend(); ++it)
        if ((process == 0 || (*it)->process == process) && !(*it)->ended &&
            Wm().Exists((*it)->window))
            return (*it)->window;
    return nullptr;
}

HWND Dialogs::NextTabItem(HWND dialog, HWND from, bool backward) const {
    const DialogRecord* record = Find(dialog);
    std::vector<HWND> order;
    if (record != nullptr) {
        order = record->controls;
    } else if (const Window* w = Wm().Get(dialog)) {
        order = w->children;
    }
    std::vector<HWND> stops;
    for (HWND control : order)
        if (const Window* w = Wm().Get(control);
            w != nullptr && (w->style & WS_TABSTOP) != 0 && w->Visible() && w->Enabled())
            stops.push_back(control);
    if (stops.empty())
        return nullptr;
    auto at = std::find(stops.begin(), stops.end(), from);
    if (at == stops.end())
        return backward ? stops.back() : stops.front();
    const std::size_t index = static_cast<std::size_t>(at - stops.begin());
    const std::size_t n = stops.size();
    return stops[backward ? (index + n - 1) % n : (index + 1) % n];
}

HWND Dialogs::InitialFocus(HWND dialog) const {
    if (HWND first = NextTabItem(dialog, nullptr))
        return first;
    // No tab stop: the first visible, enabled control, as the first of its group.
    if (const DialogRecord* record = Find(dialog))
        for (HWND control : record->controls)
            if (const Window* w = Wm().Get(control); w != nullptr && w->Visible() && w->Enabled())
                return control;
    return nullptr;
}

bool Dialogs::PreTranslate(HWND dialog, MSG& msg) {
    WindowManager& wm = Dev().windows;
    if (!wm.Exists(dialog) || msg.hwnd == nullptr || !wm.IsSelfOrAncestor(dialog, msg.hwnd))
        return false;
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_TAB: {
            const bool back = wm.hotKeys.IsDown(VK_SHIFT);
            if (HWND next = NextTabItem(dialog, wm.Focus(Dev().CurrentProcess()), back))
                SetFocusAs(next);
            return true;
        }
        case VK_ESCAPE:
            Command(dialog, IDCANCEL);
            return true;
        case VK_RETURN: {
            const LRESULT def = Send(dialog, DM_GETDEFID, 0, 0);
            Command(dialog, HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK);
            return true;
        }
        default:
            break;
        }
    }
    if (msg.message == WM_CHAR && (msg.wParam == '\t' || msg.wParam == '\r' || msg.wParam == 0x1B))
        return true;
    Translate(msg);
    Dispatch(msg);
    return true;
}

} // namespace sim
