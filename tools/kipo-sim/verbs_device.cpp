// Verbs done to the running device: windows of other programs, keys, the radios by hand, and
// the program's icon, menu and dialogs.
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/control_names.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/shell_view.h"
#include "tools/kipo-sim/stage.h"
#include "tools/kipo-sim/suggest.h"
#include "tools/kipo-sim/verb.h"

namespace kiposim {

using parse::Cursor;

namespace {

const std::string kDone;
constexpr int kProgram = sim::kProgramProcess;

void ParseCaption(Cursor& c, Step& s) {
    s.caption = c.String("a caption");
}

std::string NoSuchWindow(const Step& s) {
    return "no window is captioned " + QuoteCaption(s.caption);
}

// The buttons every dialog and message box may have, by the names of their standard ids.
struct ButtonId {
    const char* name;
    int id;
};
constexpr ButtonId kButtons[] = {{"OK", IDOK},       {"Cancel", IDCANCEL}, {"Abort", IDABORT},
                                 {"Retry", IDRETRY}, {"Ignore", IDIGNORE}, {"Yes", IDYES},
                                 {"No", IDNO}};

std::string ButtonName(int id) {
    for (const ButtonId& b : kButtons)
        if (b.id == id)
            return b.name;
    return std::to_string(id);
}

// The mouse messages a tap may carry, by their Win32 names.
struct MouseMessage {
    const char* name;
    unsigned value;
};
constexpr MouseMessage kMouseMessages[] = {
    {"WM_MOUSEMOVE", WM_MOUSEMOVE},     {"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
    {"WM_LBUTTONUP", WM_LBUTTONUP},     {"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
    {"WM_RBUTTONDOWN", WM_RBUTTONDOWN}, {"WM_RBUTTONUP", WM_RBUTTONUP},
};

std::string MouseMessageName(unsigned message) {
    for (const MouseMessage& m : kMouseMessages)
        if (m.value == message)
            return m.name;
    return "mouse message " + std::to_string(message);
}

// tap [MESSAGE] [icon N]: MESSAGE a WM_ name or a decimal number, N the icon id the shell
// names in its callback. Plain `tap` is the left-button press on Kipo's own icon.
void ParseTap(Cursor& c, Step& s) {
    if (!c.AtEnd() && !c.NextIsWord("icon")) {
        const Token& token = c.Peek();
        long long number = 0;
        if (token.kind == Token::Kind::Word && parse::ParseInteger(token.word, number)) {
            s.mouseMessage = static_cast<unsigned>(c.Number("a mouse message", 1, 0xFFFF));
        } else {
            const int column = c.Column();
            const std::string name = c.Word("a mouse message (WM_LBUTTONUP, ...) or `icon N`");
            for (const MouseMessage& m : kMouseMessages)
                if (name == m.name)
                    s.mouseMessage = m.value;
            if (s.mouseMessage == 0) {
                std::vector<std::string> names;
                std::string all;
                for (const MouseMessage& m : kMouseMessages) {
                    names.emplace_back(m.name);
                    all += (all.empty() ? "" : ", ") + std::string(m.name);
                }
                const std::string near = Suggest(name, names);
                c.Fail(column, "unknown mouse message `" + name + "`" +
                                   (near.empty() ? " (" + all + " or a number)"
                                                 : "; did you mean `" + near + "`?"));
            }
        }
    }
    if (c.NextIsWord("icon")) {
        c.Word("icon");
        s.iconId = static_cast<unsigned>(c.Number("an icon id", 0, 0xFFFFFFFFLL));
    }
}

const Verb kVerbs[] = {
    {"mark", VerbGroup::Action, false, [](Cursor&, Step& s) { s.usesCallLog = true; },
     [](Stage& stage, const Step&) {
         stage.calls.Mark();
         return kDone;
     },
     [](const Step&) { return std::string("mark: call checks count from here"); }},
    {"open", VerbGroup::Action, true, ParseCaption,
     [](Stage& stage, const Step& s) {
         stage.Device().OpenWindow(s.caption);
         return kDone;
     },
     nullptr},
    {"open-behind", VerbGroup::Action, false, ParseCaption,
     [](Stage& stage, const Step& s) {
         stage.Device().OpenWindowBehind(s.caption);
         return kDone;
     },
     [](const Step& s) {
         return "opens behind the foreground window: " + QuoteCaption(s.caption);
     }},
    {"front", VerbGroup::Action, true, ParseCaption,
     [](Stage& stage, const Step& s) {
         return stage.Device().Front(s.caption) ? kDone : NoSuchWindow(s);
     },
     nullptr},
    {"close", VerbGroup::Action, true, ParseCaption,
     [](Stage& stage, const Step& s) {
         return stage.Device().Close(s.caption) ? kDone : NoSuchWindow(s);
     },
     [](const Step& s) { return "closes: " + QuoteCaption(s.caption); }},
    {"rename", VerbGroup::Action, false,
     [](Cursor& c, Step& s) {
         s.caption = c.String("the old caption");
         s.newCaption = c.String("the new caption");
     },
     [](Stage& stage, const Step& s) {
         return stage.Device().Rename(s.caption, s.newCaption) ? kDone : NoSuchWindow(s);
     },
     [](const Step& s) {
         return "renamed: " + QuoteCaption(s.caption) + " to " + QuoteCaption(s.newCaption);
     }},
    {"today", VerbGroup::Action, true, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         return stage.Device().Front(u"Desktop")
                    ? kDone
                    : std::string("the Today screen (\"Desktop\") is gone");
     },
     nullptr},
    {"no-front", VerbGroup::Action, false, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         stage.Device().NoForeground();
         return kDone;
     },
     nullptr},
    {"press up", VerbGroup::Action, true, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         stage.Device().PressKey(VK_UP);
         return kDone;
     },
     [](const Step&) { return std::string("Up key down"); }},
    {"release up", VerbGroup::Action, true, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         stage.Device().ReleaseKey(VK_UP);
         return kDone;
     },
     [](const Step&) { return std::string("Up key up"); }},
    {"press app1", VerbGroup::Action, true, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         stage.Device().TapKey(VK_APP1);
         return kDone;
     },
     [](const Step&) { return std::string("Application Button 1 pressed"); }},
    // Switched by hand, outside Kipo: the timeline gives "hand" as the reason.
    {"user-bt", VerbGroup::Action, false, [](Cursor& c, Step& s) { s.on = parse::OnOff(c); },
     [](Stage& stage, const Step& s) {
         sim::UserSwitchBluetooth(stage.Device(), s.on);
         return kDone;
     },
     nullptr, "hand"},
    {"user-wifi", VerbGroup::Action, false, [](Cursor& c, Step& s) { s.on = parse::OnOff(c); },
     [](Stage& stage, const Step& s) {
         sim::UserSwitchWifi(stage.Device(), s.on);
         return kDone;
     },
     nullptr, "hand"},
    {"tap", VerbGroup::Action, true, ParseTap,
     [](Stage& stage, const Step& s) {
         if (s.mouseMessage == 0 && !s.iconId)
             return TapIcon(stage.Device(), kProgram, true);
         return TapIconWith(stage.Device(), s.mouseMessage == 0 ? WM_LBUTTONDOWN : s.mouseMessage,
                            s.iconId);
     },
     [](const Step& s) {
         if (s.mouseMessage == 0 && !s.iconId)
             return std::string("tap on Kipo's icon");
         return MouseMessageName(s.mouseMessage == 0 ? WM_LBUTTONDOWN : s.mouseMessage) +
                " on Kipo's icon" +
                (s.iconId ? " named as icon " + std::to_string(*s.iconId) : std::string());
     }},
    {"tap-other", VerbGroup::Action, true, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) { return TapIcon(stage.Device(), kProgram, false); },
     [](const Step&) { return std::string("another mouse message on Kipo's icon"); }},
    {"menu", VerbGroup::Action, true,
     [](Cursor& c, Step& s) { s.text = c.String("a menu item's text"); },
     [](Stage& stage, const Step& s) { return ChooseMenuItem(stage.Device(), s.text); },
     [](const Step& s) { return "menu: choose " + QuoteCaption(s.text); }},
    {"dismiss", VerbGroup::Action, true, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) { return DismissMenu(stage.Device()); },
     [](const Step&) { return std::string("menu: dismissed"); }},
    {"type", VerbGroup::Action, true,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::Edit, "a control id");
         s.text = c.String("the text to type");
     },
     [](Stage& stage, const Step& s) {
         return TypeText(stage.Device(), kProgram, s.control, s.text);
     },
     [](const Step& s) { return "type into " + ControlLabel(s) + ": " + QuoteCaption(s.text); }},
    {"check", VerbGroup::Action, true,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::Check, "a control id");
         s.on = parse::OnOff(c);
     },
     [](Stage& stage, const Step& s) {
         return SetCheck(stage.Device(), kProgram, s.control, s.on);
     },
     [](const Step& s) { return "check " + ControlLabel(s) + (s.on ? " on" : " off"); }},
    {"select", VerbGroup::Action, true,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::List, "a control id");
         parse::ListItem(c, s);
     },
     [](Stage& stage, const Step& s) {
         return SelectItem(stage.Device(), kProgram, s.control, s.item);
     },
     [](const Step& s) { return "select " + ControlLabel(s) + ": " + ItemLabel(s); }},
    {"choose", VerbGroup::Action, true,
     [](Cursor& c, Step& s) { parse::Control(c, s, ControlUse::Radio, "a control id"); },
     [](Stage& stage, const Step& s) { return ChooseRadio(stage.Device(), kProgram, s.control); },
     [](const Step& s) { return "choose " + ControlLabel(s); }},
    {"click", VerbGroup::Action, true,
     [](Cursor& c, Step& s) {
         // The standard ids by name, whatever the button's label ("Add To" is Window
         // Found's OK).
         for (const ButtonId& b : kButtons)
             if (c.NextIsWord(b.name)) {
                 c.Word(b.name);
                 s.control = b.id;
                 return;
             }
         parse::Control(c, s, ControlUse::Button,
                        "a button id or `OK`, `Cancel`, `Abort`, `Retry`, `Ignore`, `Yes`, `No`");
     },
     [](Stage& stage, const Step& s) { return ClickButton(stage.Device(), kProgram, s.control); },
     [](const Step& s) {
         return "click " + (s.controlName.empty() ? ButtonName(s.control) : ControlLabel(s));
     }},
};

} // namespace

std::span<const Verb> DeviceVerbs() {
    return kVerbs;
}

} // namespace kiposim
