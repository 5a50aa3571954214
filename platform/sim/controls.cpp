#include "platform/sim/controls.h"

#include <utility>

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/window_ops.h"

namespace sim {

namespace {

Window* WindowOf(HWND control) {
    return Dev().windows.Get(control);
}

ControlState& StateOf(HWND control, ControlKind kind) {
    Controls& controls = Dev().dialogs.controls;
    if (ControlState* state = controls.Find(control))
        return *state;
    return controls.Add(control, kind);
}

// WM_COMMAND to the parent with the control's identifier and a notification code.
void Notify(HWND control, WORD code) {
    const Window* window = WindowOf(control);
    if (window == nullptr || window->parent == nullptr)
        return;
    Send(window->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(window->id), code),
         reinterpret_cast<LPARAM>(control));
}

bool Enabled(HWND control) {
    const Window* window = WindowOf(control);
    return window != nullptr && window->Enabled();
}

DWORD StyleOf(HWND control) {
    const Window* window = WindowOf(control);
    return window != nullptr ? window->style : 0;
}

// What one kind of control does with a message, its state at hand.
using ControlHandler = LRESULT (*)(HWND control, ControlState& state, UINT message, WPARAM wParam,
                                   LPARAM lParam);

// The procedure of a control class: every control forgets its state with its window, and
// hands any other message, with its state, to the handler of its kind.
template <ControlKind kind, ControlHandler handler>
LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        Dev().dialogs.controls.Remove(control);
        return DefaultProc(control, message, 0, 0);
    }
    return handler(control, StateOf(control, kind), message, wParam, lParam);
}

LRESULT StaticMessage(HWND control, ControlState& state, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    switch (message) {
    case STM_SETICON: {
        HICON old = state.icon;
        state.icon = reinterpret_cast<HICON>(wParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(state.icon);
    default:
        return DefaultProc(control, message, wParam, lParam);
    }
}

LRESULT EditMessage(HWND control, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: {
        const LRESULT result = DefaultProc(control, message, wParam, lParam);
        Notify(control, EN_CHANGE);
        return result;
    }
    case EM_LIMITTEXT:
        state.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<DWORD>(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(state.limit);
    case SIM_USER_TYPE: {
        if (!Enabled(control))
            return 0;
        WString text = std::move(state.pending);
        state.pending.clear();
        if (text.size() > state.limit)
            text.resize(state.limit); // the user cannot type past the limit
        return Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    default:
        return DefaultProc(control, message, wParam, lParam);
    }
}

UINT MaxCheck(DWORD style) {
    const DWORD type = ButtonType(style);
    return (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
}

// The radio buttons of a group: from the nearest control at or before `radio` that starts a
// group, up to the next control that starts one.
std::vector<HWND> RadioGroup(HWND radio) {
    std::vector<HWND> group;
    const Window* window = WindowOf(radio);
    if (window == nullptr)
        return group;
    const Window* parent = WindowOf(window->parent);
    if (parent == nullptr)
        return {radio};
    const std::vector<HWND>& siblings = parent->children;
    std::size_t at = 0;
    while (at < siblings.size() && siblings[at] != radio)
        ++at;
    std::size_t first = at;
    while (first > 0) {
        const Window* w = WindowOf(siblings[first]);
        if (w != nullptr && (w->style & WS_GROUP) != 0)
            break;
        --first;
    }
    for (std::size_t i = first; i < siblings.size(); ++i) {
        const Window* w = WindowOf(siblings[i]);
        if (w == nullptr)
            continue;
        if (i > first && (w->style & WS_GROUP) != 0)
            break;
        if (w->className == TEXT("BUTTON") && IsRadioButton(w->style))
            group.push_back(siblings[i]);
    }
    return group;
}

LRESULT ButtonMessage(HWND control, ControlState& state, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    const DWORD style = StyleOf(control);
    const bool checkable = IsCheckBox(style) || IsRadioButton(style);
    switch (message) {
    case BM_GETCHECK:
        return checkable ? static_cast<LRESULT>(state.check) : 0;
    case BM_SETCHECK:
        // A two-state button shows any "indeterminate" request as checked, as Windows does.
        if (checkable)
            state.check = wParam > MaxCheck(style) ? MaxCheck(style) : static_cast<UINT>(wParam);
        return 0;
    case BM_GETSTATE:
        return checkable ? static_cast<LRESULT>(state.check) : 0;
    case BM_CLICK: {
        if (!Enabled(control) || ButtonType(style) == BS_GROUPBOX)
            return 0;
        const DWORD type = ButtonType(style);
        if (type == BS_AUTOCHECKBOX)
            state.check = state.check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
        else if (type == BS_AUTO3STATE)
            state.check = (state.check + 1) % 3;
        else if (type == BS_AUTORADIOBUTTON) {
            for (HWND other : RadioGroup(control))
                if (other != control)
                    Send(other, BM_SETCHECK, BST_UNCHECKED, 0);
            if (ControlState* mine = Dev().dialogs.controls.Find(control))
                mine->check = BST_CHECKED;
        }
        Notify(control, BN_CLICKED);
        return 0;
    }
    default:
        return DefaultProc(control, message, wParam, lParam);
    }
}

LRESULT ComboBoxMessage(HWND control, ControlState& state, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    const DWORD style = StyleOf(control);
    const int count = static_cast<int>(state.items.size());
    auto text = [lParam]() { return reinterpret_cast<LPCWSTR>(lParam); };
    switch (message) {
    case WM_CREATE:
        if (const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam))
            state.droppedHeight = create->cy;
        return 0;
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
        if (text() == nullptr)
            return CB_ERR;
        WString item(text());
        std::size_t at = state.items.size();
        if (message == CB_INSERTSTRING) {
            const int index = static_cast<int>(static_cast<WPARAM>(wParam));
            if (index > count)
                return CB_ERR;
            if (index >= 0)
                at = static_cast<std::size_t>(index);
        } else if ((style & CBS_SORT) != 0) {
            const WString key = LowerCopy(item);
            at = 0;
            while (at < state.items.size() && LowerCopy(state.items[at]) <= key)
                ++at;
        }
        state.items.insert(state.items.begin() + static_cast<std::ptrdiff_t>(at), item);
        if (state.selection >= static_cast<int>(at))
            ++state.selection;
        return static_cast<LRESULT>(at);
    }
    case CB_DELETESTRING: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= count)
            return CB_ERR;
        state.items.erase(state.items.begin() + index);
        if (state.selection == index)
            state.selection = -1;
        else if (state.selection > index)
            --state.selection;
        return static_cast<LRESULT>(state.items.size());
    }
    case CB_RESETCONTENT:
        state.items.clear();
        state.selection = -1;
        return 0; // CB_OKAY
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return state.selection;
    case CB_SETCURSEL: {
        // Out of range (and -1) clears the selection and answers CB_ERR.
        const int index = static_cast<int>(wParam);
        state.selection = (index >= 0 && index < count) ? index : -1;
        return state.selection == -1 ? CB_ERR : state.selection;
    }
    case CB_GETLBTEXTLEN: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= count)
            return CB_ERR;
        return static_cast<LRESULT>(state.items[static_cast<std::size_t>(index)].size());
    }
    case CB_GETLBTEXT: {
        const int index = static_cast<int>(wParam);
        if (index < 0 || index >= count || lParam == 0)
            return CB_ERR;
        const WString& item = state.items[static_cast<std::size_t>(index)];
        auto* out = reinterpret_cast<LPWSTR>(lParam);
        item.copy(out, item.size());
        out[item.size()] = 0;
        return static_cast<LRESULT>(item.size());
    }
    case CB_FINDSTRINGEXACT: {
        if (text() == nullptr)
            return CB_ERR;
        const WString key = LowerCopy(text());
        const int start = static_cast<int>(wParam);
        for (int n = 0; n < count; ++n) {
            const int index = (start < 0 || start >= count) ? n : (start + 1 + n) % count;
            if (LowerCopy(state.items[static_cast<std::size_t>(index)]) == key)
                return index;
        }
        return CB_ERR;
    }
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || WindowOf(control) == nullptr)
            return CB_ERR;
        const RECT screen = Dev().windows.ScreenRect(control);
        *rect = RECT{screen.left, screen.top, screen.right, screen.top + state.droppedHeight};
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        return state.selection < 0
                   ? 0
                   : static_cast<LRESULT>(
                         state.items[static_cast<std::size_t>(state.selection)].size());
    case WM_GETTEXT: {
        const WString selected = state.selection < 0
                                     ? WString()
                                     : state.items[static_cast<std::size_t>(state.selection)];
        return CopyText(selected, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    }
    case WM_SETTEXT: {
        // A list without typing shows only its items: the text must name one.
        if (text() == nullptr)
            return CB_ERR;
        const WString key = LowerCopy(text());
        for (int index = 0; index < count; ++index)
            if (LowerCopy(state.items[static_cast<std::size_t>(index)]) == key) {
                state.selection = index;
                return TRUE;
            }
        return CB_ERR;
    }
    case SIM_USER_SELECT: {
        if (!Enabled(control))
            return 0;
        const int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
        state.selection = (index >= 0 && index < count) ? index : -1;
        Notify(control, CBN_SELCHANGE);
        return 0;
    }
    default:
        return DefaultProc(control, message, wParam, lParam);
    }
}

// The input-panel control has a state, so that it counts as a control, but no messages of its
// own.
LRESULT SipPrefMessage(HWND control, ControlState&, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(control, message, wParam, lParam);
}

void Register(int process, const WCHAR* name, WNDPROC proc) {
    WindowManager& wm = Dev().windows;
    if (wm.FindClass(process, name) != nullptr)
        return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wm.RegisterClass(process, wc);
}

} // namespace

bool IsCheckBox(DWORD style) {
    const DWORD type = ButtonType(style);
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE;
}

bool IsRadioButton(DWORD style) {
    const DWORD type = ButtonType(style);
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void Controls::RegisterSystemClasses() {
    Register(0, TEXT("STATIC"), ControlProc<ControlKind::Static, StaticMessage>);
    Register(0, TEXT("EDIT"), ControlProc<ControlKind::Edit, EditMessage>);
    Register(0, TEXT("BUTTON"), ControlProc<ControlKind::Button, ButtonMessage>);
    Register(0, TEXT("COMBOBOX"), ControlProc<ControlKind::ComboBox, ComboBoxMessage>);
}

void Controls::RegisterExtraControls() {
    Register(Dev().CurrentProcess(), TEXT("SIPPREF"),
             ControlProc<ControlKind::SipPref, SipPrefMessage>);
}

ControlState* Controls::Find(HWND control) {
    return const_cast<ControlState*>(std::as_const(*this).Find(control));
}

const ControlState* Controls::Find(HWND control) const {
    auto it = states_.find(control);
    return it == states_.end() ? nullptr : &it->second;
}

ControlState& Controls::Add(HWND control, ControlKind kind) {
    ControlState& state = states_[control];
    state.kind = kind;
    return state;
}

} // namespace sim
