#include "tools/kipo-sim/control_names.h"

#include <algorithm>

#include "res/resource_ids.h"
#include "res/tables.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/short_text.h"
#include "tools/kipo-sim/suggest.h"
#include "ui/setting_bindings.h"

namespace kiposim {

namespace {

struct Named {
    std::string name;
    int id;
    const res::Dialog* dialog;
    const res::Control* control;
};

const res::Dialog* const kDialogs[] = {&res::SettingsDialog(), &res::WindowFoundDialog(),
                                       &res::AboutDialog()};

// A label without its mnemonic marks ("&Cancel" is written Cancel).
std::string Label(const WCHAR* text) {
    WString plain;
    for (const WCHAR* p = text; *p != 0; ++p)
        if (*p != u'&')
            plain.push_back(*p);
    return ToUtf8(plain);
}

const res::Control* FindControl(const res::Dialog& dialog, int id) {
    for (const res::Control& control : dialog.controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

// Setting names first: where a label and a setting share a name, the setting wins.
const std::vector<Named>& Names() {
    static const std::vector<Named> names = [] {
        std::vector<Named> all;
        const res::Dialog& settings = res::SettingsDialog();
        for (const SettingBinding& b : SettingBindings)
            all.push_back(
                {ToUtf8(b.value.name), b.control, &settings, FindControl(settings, b.control)});
        for (const res::Dialog* dialog : kDialogs)
            for (const res::Control& control : dialog->controls)
                if (control.id != IDC_STATIC && control.text != nullptr && control.text[0] != 0)
                    all.push_back({Label(control.text), control.id, dialog, &control});
        return all;
    }();
    return names;
}

ControlUse UseOf(const res::Control* control) {
    if (control == nullptr || control->className == nullptr)
        return ControlUse::Any;
    const WString cls = control->className;
    if (cls == u"EDIT")
        return ControlUse::Edit;
    if (cls == u"COMBOBOX")
        return ControlUse::List;
    if (cls != u"BUTTON")
        return ControlUse::Any;
    switch (control->style & 0xF) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        return ControlUse::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return ControlUse::Radio;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return ControlUse::Button;
    default:
        return ControlUse::Any;
    }
}

const char* UseName(ControlUse use) {
    switch (use) {
    case ControlUse::Edit:
        return "an edit control";
    case ControlUse::Check:
        return "a check box";
    case ControlUse::List:
        return "a drop-down list";
    case ControlUse::Radio:
        return "a radio button";
    case ControlUse::Button:
        return "a push button";
    case ControlUse::Any:
        break;
    }
    return "a control";
}

bool Fits(ControlUse wanted, ControlUse found) {
    if (wanted == ControlUse::Any || found == ControlUse::Any || wanted == found)
        return true;
    // A check reads a radio button's state as it reads a check box's.
    return wanted == ControlUse::Check && found == ControlUse::Radio;
}

std::string DialogName(const res::Dialog* dialog) {
    return QuoteCaption(dialog->caption);
}

// The one name an id has wherever it occurs, for the timeline; empty when the dialogs
// disagree (1006 is BTControl in the settings dialog and the caption field of Window Found).
std::string NameOfId(int id) {
    std::string found;
    std::vector<const res::Dialog*> seen;
    for (const Named& n : Names()) {
        if (n.id != id)
            continue;
        if (std::find(seen.begin(), seen.end(), n.dialog) != seen.end())
            continue; // the dialog's first name for it (its setting) stands
        seen.push_back(n.dialog);
        if (!found.empty() && found != n.name)
            return {};
        found = n.name;
    }
    for (const res::Dialog* dialog : kDialogs)
        if (FindControl(*dialog, id) != nullptr &&
            std::find(seen.begin(), seen.end(), dialog) == seen.end())
            return {}; // an unnamed control of that id elsewhere
    return found;
}

std::span<const WCHAR* const> ItemsOf(int id) {
    for (const res::Dialog* dialog : kDialogs)
        for (const res::ComboItems& items : dialog->comboItems)
            if (items.controlId == id)
                return items.items;
    return {};
}

} // namespace

namespace parse {

void Control(Cursor& c, Step& step, ControlUse use, const std::string& what) {
    if (c.AtEnd())
        c.Missing(what);
    const Token& token = c.Peek();
    long long number = 0;
    if (token.kind == Token::Kind::Word && ParseInteger(token.word, number)) {
        step.control = static_cast<int>(c.Number(what, 0, 65535));
        step.controlName = NameOfId(step.control);
        return;
    }
    const int column = token.column;
    const std::string written = Quote(token);
    const std::string name = token.kind == Token::Kind::String ? ToUtf8(token.text) : token.word;
    c.Take();

    std::vector<const Named*> matches;
    for (const Named& n : Names())
        if (n.name == name)
            matches.push_back(&n);
    if (matches.empty()) {
        std::vector<std::string> candidates;
        for (const Named& n : Names())
            candidates.push_back(n.name);
        const std::string near = Suggest(name, candidates);
        c.Fail(column,
               written + " names no control: expected " + what +
                   ", a setting's name or a control's label" +
                   (near.empty() ? "" : "; did you mean " + QuoteCaption(FromUtf8(near)) + "?"));
    }
    // A setting's name is one control; a label may stand on controls of several ids.
    const Named& first = *matches.front();
    const bool setting = &first < Names().data() + std::size(SettingBindings);
    for (const Named* n : matches)
        if (!setting && n->id != first.id)
            c.Fail(column, written + " names control " + std::to_string(first.id) + " of " +
                               DialogName(first.dialog) + " and control " + std::to_string(n->id) +
                               " of " + DialogName(n->dialog) + ": write the id");
    const ControlUse found = UseOf(first.control);
    if (!Fits(use, found))
        c.Fail(column, written + " is " + UseName(found) + ", not " + UseName(use));
    step.control = first.id;
    step.controlName = name;
}

void ListItem(Cursor& c, Step& step) {
    const std::span<const WCHAR* const> items = ItemsOf(step.control);
    if (!c.AtEnd() && c.Peek().kind == Token::Kind::String) {
        const int column = c.Column();
        const WString text = c.String("an item's text");
        std::vector<std::string> candidates;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (text == items[i]) {
                step.item = static_cast<int>(i);
                step.itemText = text;
                return;
            }
            candidates.push_back(ToUtf8(items[i]));
        }
        if (items.empty())
            c.Fail(column, "the program puts no items of its own into list " +
                               std::to_string(step.control) + ": write the item's number");
        std::string all;
        for (const std::string& item : candidates)
            all += (all.empty() ? "" : ", ") + QuoteCaption(FromUtf8(item));
        const std::string near = Suggest(ToUtf8(text), candidates);
        c.Fail(column,
               "list " + ControlLabel(step) + " has no item " + QuoteCaption(text) +
                   (near.empty() ? "" : "; did you mean " + QuoteCaption(FromUtf8(near)) + "?") +
                   " (it has " + all + ")");
    }
    step.item = static_cast<int>(c.Number("an item number (-1: none) or its text", -1, 65535));
    if (step.item >= 0 && static_cast<std::size_t>(step.item) < items.size())
        step.itemText = items[static_cast<std::size_t>(step.item)];
}

} // namespace parse

std::string ControlLabel(const Step& step) {
    if (step.controlName.empty())
        return std::to_string(step.control);
    if (step.controlName.find(' ') != std::string::npos)
        return QuoteCaption(FromUtf8(step.controlName));
    return step.controlName;
}

std::string ItemLabel(const Step& step) {
    if (step.item < 0)
        return "none";
    if (!step.itemText.empty())
        return QuoteCaption(step.itemText);
    return "item " + std::to_string(step.item);
}

} // namespace kiposim
