// The checks (`expect ...`): each looks at the device's own state (never through a platform
// call) and, when it does not hold, says what it found instead.
#include <cstdio>
#include <limits>

#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/control_names.h"
#include "tools/kipo-sim/reg_type_name.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/shell_view.h"
#include "tools/kipo-sim/stage.h"
#include "tools/kipo-sim/suggest.h"
#include "tools/kipo-sim/verb.h"

namespace kiposim {

using parse::Cursor;

namespace {

const std::string kHolds;
constexpr int kProgram = sim::kProgramProcess;

std::string OnOffText(bool on) {
    return on ? "on" : "off";
}

// A stored value as a scenario would write it, for "found ..." messages.
std::string ValueText(const sim::RegValue& value) {
    if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD d = 0;
        for (int i = 3; i >= 0; --i)
            d = (d << 8) | value.data[static_cast<std::size_t>(i)];
        return "dword " + std::to_string(d);
    }
    if ((value.type == REG_SZ || value.type == REG_EXPAND_SZ) && value.data.size() % 2 == 0 &&
        value.data.size() >= 2 && value.data[value.data.size() - 1] == 0 &&
        value.data[value.data.size() - 2] == 0) {
        WString text;
        for (std::size_t i = 0; i + 2 < value.data.size(); i += 2)
            text.push_back(static_cast<WCHAR>(value.data[i] | (value.data[i + 1] << 8)));
        if (text.find(u'\0') == WString::npos)
            return (value.type == REG_SZ ? "sz " : "expand-sz ") + QuoteCaption(text, 200);
    }
    std::string hex;
    const char* digits = "0123456789abcdef";
    for (std::size_t i = 0; i < value.data.size() && i < 64; ++i) {
        hex += digits[value.data[i] >> 4];
        hex += digits[value.data[i] & 15];
    }
    if (value.data.size() > 64)
        hex += "...";
    return RegTypeName(value.type) + " of " + std::to_string(value.data.size()) + " bytes " + hex;
}

std::string CheckValue(const sim::RegValue* value, const RegData& wanted) {
    if (wanted.kind == RegData::Kind::Absent)
        return value == nullptr ? "" : "the value exists: " + ValueText(*value);
    if (value == nullptr)
        return "the value is absent";
    if (value->type != wanted.RegType() || value->data != wanted.Bytes())
        return "found " + ValueText(*value);
    return kHolds;
}

std::string CheckIcon(Stage& stage, const Step& s) {
    ShellState shell = ReadShellState(stage.Device(), kProgram);
    switch (s.icon) {
    case IconCheck::Shown:
        return shell.iconShown ? kHolds : "no notification icon of the program is shown";
    case IconCheck::Hidden:
        return shell.iconShown
                   ? "the icon is shown (icon " + std::to_string(shell.iconResource) + ")"
                   : kHolds;
    case IconCheck::Resource:
        if (!shell.iconShown)
            return "no notification icon of the program is shown";
        return shell.iconResource == s.count
                   ? kHolds
                   : "the icon shows icon " + std::to_string(shell.iconResource);
    }
    return kHolds;
}

std::string CheckWindow(Stage& stage, const Step& s) {
    sim::Device& device = stage.Device();
    const sim::Window* found = nullptr;
    for (HWND handle : device.windows.TopLevel()) {
        const sim::Window* w = device.windows.Get(handle);
        if (w != nullptr && w->caption == s.caption) {
            found = w;
            break;
        }
    }
    const char* state = found == nullptr ? "absent" : found->Visible() ? "visible" : "hidden";
    const char* wanted = s.window == WindowCheck::Visible  ? "visible"
                         : s.window == WindowCheck::Hidden ? "hidden"
                                                           : "absent";
    return std::string(state) == wanted ? kHolds : std::string("the window is ") + state;
}

std::string CheckForeground(Stage& stage, const Step& s) {
    std::optional<WString> front = stage.Foreground();
    if (!s.yes)
        return front ? "in front: " + QuoteCaption(*front) : kHolds;
    if (!front)
        return "no window is in the foreground";
    return *front == s.caption ? kHolds : "in front: " + QuoteCaption(*front);
}

std::string CheckKey(Stage& stage, const Step& s) {
    HKEY root = nullptr;
    WString path;
    if (!sim::Registry::SplitRootPath(s.keyPath, &root, &path))
        return "the key path names no registry root";
    bool exists = stage.Device().registry.KeyExists(root, path);
    return exists == s.yes ? kHolds : std::string("the key ") + (exists ? "exists" : "is absent");
}

std::string CheckInterval(Stage& stage, const Step& s) {
    const HWND main = stage.MainWindow();
    const sim::Timer* timer = main ? stage.Device().windows.timers.Find(main, 1) : nullptr;
    if (timer == nullptr)
        return main ? "the main window has no check timer" : "the program has no main window";
    return static_cast<long long>(timer->period) == s.count
               ? kHolds
               : "the period is " + std::to_string(timer->period) + " ms";
}

std::string CheckHandles(Stage& stage, const Step& s) {
    sim::Device& device = stage.Device();
    int open = device.OpenHandles(kProgram);
    if (open == s.count)
        return kHolds;
    std::string detail;
    for (auto kind :
         {sim::HandleKind::RegistryKey, sim::HandleKind::Event, sim::HandleKind::Library}) {
        int n = device.OpenHandles(kProgram, kind);
        if (n != 0)
            detail +=
                (detail.empty() ? "" : ", ") + std::to_string(n) + " " + sim::HandleKindName(kind);
    }
    return std::to_string(open) + " open" + (detail.empty() ? "" : " (" + detail + ")");
}

// `by kipo|widcomm|others` and, for counts, `since mark`, in either order.
void ParseCallScope(Cursor& c, Step& s, bool allowSince) {
    bool any = false;
    while (!c.AtEnd()) {
        if (c.NextIsWord("by") && !s.caller) {
            c.Word("by");
            const int who = c.Choice("a program", {"kipo", "widcomm", "others"});
            s.caller = who == 0 ? Caller::Kipo : who == 1 ? Caller::Widcomm : Caller::Others;
        } else if (allowSince && c.NextIsWord("since") && !s.sinceMark) {
            c.Word("since");
            c.Choice("`mark`", {"mark"});
            s.sinceMark = true;
        } else {
            break;
        }
        any = true;
    }
    // The plain count keeps its old meaning and needs no log.
    s.usesCallLog = any || !allowSince;
}

void ParsePattern(Cursor& c, Step& s) {
    const int column = c.Column();
    const WString text = c.String("a call like a trace line, e.g. \"SetTimer(main, 1, *)\"");
    std::string error;
    if (!CallPattern::Parse(ToUtf8(text), s.call, error))
        c.Fail(column, "bad call pattern: " + error);
}

std::string TooManyCalls(const Stage& stage) {
    return "more than " + std::to_string(CallLog::kMaxRecords) + " calls since the mark (" +
           std::to_string(stage.calls.Dropped()) + " not kept): put a `mark` nearer";
}

std::string CheckNextCall(Stage& stage, const Step& s) {
    // What comes next of that operation, so a wrong argument shows at once.
    std::string near;
    int shown = 0;
    for (const LoggedCall* call : stage.calls.After(CallLog::kMaxRecords)) {
        if (call->name != s.call.name || (s.caller && call->caller != *s.caller))
            continue;
        near += (shown == 0 ? "; next of that name: " : ", ") + CallText(*call);
        if (++shown == 3)
            break;
    }
    if (stage.calls.Next(s.call, s.caller) != nullptr)
        return kHolds;
    if (stage.calls.Dropped() > 0)
        return TooManyCalls(stage);
    return std::string("no such call after the previous `expect call` (or the mark)") +
           (near.empty() ? "; none of that name" : near);
}

// MessageBoxW's type flags by their Win32 names, for `expect box ... type`.
struct BoxFlag {
    const char* name;
    unsigned value;
};
constexpr BoxFlag kBoxFlags[] = {
    {"MB_OK", 0x0},
    {"MB_OKCANCEL", 0x1},
    {"MB_ABORTRETRYIGNORE", 0x2},
    {"MB_YESNOCANCEL", 0x3},
    {"MB_YESNO", 0x4},
    {"MB_RETRYCANCEL", 0x5},
    {"MB_ICONHAND", 0x10},
    {"MB_ICONERROR", 0x10},
    {"MB_ICONSTOP", 0x10},
    {"MB_ICONQUESTION", 0x20},
    {"MB_ICONEXCLAMATION", 0x30},
    {"MB_ICONWARNING", 0x30},
    {"MB_ICONASTERISK", 0x40},
    {"MB_ICONINFORMATION", 0x40},
    {"MB_DEFBUTTON1", 0x0},
    {"MB_DEFBUTTON2", 0x100},
    {"MB_DEFBUTTON3", 0x200},
    {"MB_APPLMODAL", 0x0},
    {"MB_SYSTEMMODAL", 0x1000},
    {"MB_TASKMODAL", 0x2000},
    {"MB_SETFOREGROUND", 0x10000},
    {"MB_TOPMOST", 0x40000},
};

// A decimal number, or flag names joined by `|` (MB_OK|MB_ICONEXCLAMATION).
unsigned BoxType(Cursor& c) {
    if (c.AtEnd() || c.Peek().kind != Token::Kind::Word)
        c.Missing("the box's type (a number, or MB_ names joined by `|`)");
    long long number = 0;
    if (parse::ParseInteger(c.Peek().word, number))
        return static_cast<unsigned>(c.Number("the box's type", 0, 0xFFFFFFFFLL));
    const Token& token = c.Take();
    unsigned type = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = token.word.find('|', start);
        const std::string name = token.word.substr(start, bar - start);
        bool known = false;
        for (const BoxFlag& flag : kBoxFlags) {
            if (name == flag.name) {
                type |= flag.value;
                known = true;
            }
        }
        if (!known) {
            std::vector<std::string> names;
            for (const BoxFlag& flag : kBoxFlags)
                names.emplace_back(flag.name);
            const std::string near = Suggest(name, names);
            c.Fail(token.column + static_cast<int>(start),
                   "unknown message box flag `" + name + "`" +
                       (near.empty() ? " (MB_OK, MB_ICONEXCLAMATION, MB_SETFOREGROUND, ...)"
                                     : "; did you mean `" + near + "`?"));
        }
        if (bar == std::string::npos)
            return type;
        start = bar + 1;
    }
}

std::string HexType(unsigned type) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", type);
    return text;
}

std::string CheckBox(Stage& stage, const Step& s) {
    const std::optional<BoxView> box = MessageBoxInView(stage.Device());
    if (!s.yes)
        return box ? "a message box is open: " + QuoteCaption(box->text, 200) : kHolds;
    if (!box)
        return "no message box is open";
    std::string problems;
    auto differs = [&problems](const std::string& what) {
        problems += (problems.empty() ? "" : "; ") + what;
    };
    if (box->text != s.text)
        differs("its text is " + QuoteCaption(box->text, 200));
    if (s.hasBoxCaption && box->caption != s.caption)
        differs("its caption is " + QuoteCaption(box->caption));
    if (s.hasBoxType && box->type != s.boxType)
        differs("its type is " + std::to_string(box->type) + " (" + HexType(box->type) + ")");
    return problems;
}

const Verb kVerbs[] = {
    {"expect bt", VerbGroup::Check, false, [](Cursor& c, Step& s) { s.on = parse::OnOff(c); },
     [](Stage& stage, const Step& s) {
         bool on = sim::BluetoothIsOn(stage.Device());
         return on == s.on ? kHolds : "Bluetooth is " + OnOffText(on);
     },
     nullptr},
    {"expect wifi", VerbGroup::Check, false, [](Cursor& c, Step& s) { s.on = parse::OnOff(c); },
     [](Stage& stage, const Step& s) {
         bool on = sim::WifiIsOn(stage.Device());
         return on == s.on ? kHolds : "the WLAN adapter is " + OnOffText(on) + (on ? " (D0)" : "");
     },
     nullptr},
    {"expect running", VerbGroup::Check, false, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         return stage.ProgramRunning() ? kHolds : "the program is not running";
     },
     nullptr},
    {"expect ended", VerbGroup::Check, false, [](Cursor&, Step&) {},
     [](Stage& stage, const Step&) {
         return stage.ProgramRunning() ? "the program is still running" : kHolds;
     },
     nullptr},
    {"expect icon", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         if (c.NextIsWord("shown") || c.NextIsWord("hidden")) {
             s.icon = c.Choice("", {"shown", "hidden"}) == 0 ? IconCheck::Shown : IconCheck::Hidden;
         } else {
             s.icon = IconCheck::Resource;
             s.count = c.Number("`shown`, `hidden` or an icon resource number", 0, 65535);
         }
     },
     CheckIcon, nullptr},
    {"expect menu", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.yes = c.Choice("the menu state", {"open", "closed"}) == 0;
     },
     [](Stage& stage, const Step& s) {
         bool open = ReadShellState(stage.Device(), kProgram).menuOpen;
         return open == s.yes ? kHolds
                              : std::string("the popup menu is ") + (open ? "open" : "closed");
     },
     nullptr},
    {"expect window", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.caption = c.String("a caption");
         const int state = c.Choice("the window state", {"visible", "hidden", "absent"});
         s.window = state == 0   ? WindowCheck::Visible
                    : state == 1 ? WindowCheck::Hidden
                                 : WindowCheck::Absent;
     },
     CheckWindow, nullptr},
    {"expect foreground", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         // `none` (no foreground window) is a word; a caption is always a string.
         if (c.NextIsWord("none")) {
             c.Word("none");
             s.yes = false;
         } else {
             s.caption = c.String("a caption (or `none`)");
         }
     },
     CheckForeground, nullptr},
    {"expect text", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::Any, "a control id");
         s.text = c.String("a text");
     },
     [](Stage& stage, const Step& s) {
         std::string problem;
         std::optional<WString> text = ControlText(stage.Device(), kProgram, s.control, problem);
         if (!text)
             return problem;
         return *text == s.text ? kHolds : "the text is " + QuoteCaption(*text, 200);
     },
     nullptr},
    {"expect checked", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::Check, "a control id");
         s.on = parse::OnOff(c);
     },
     [](Stage& stage, const Step& s) {
         std::string problem;
         std::optional<bool> checked = ControlChecked(stage.Device(), kProgram, s.control, problem);
         if (!checked)
             return problem;
         return *checked == s.on ? kHolds : "it is " + std::string(*checked ? "checked" : "clear");
     },
     nullptr},
    {"expect selected", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::List, "a control id");
         parse::ListItem(c, s);
     },
     [](Stage& stage, const Step& s) {
         std::string problem;
         std::optional<int> item = ControlSelection(stage.Device(), kProgram, s.control, problem);
         if (!item)
             return problem;
         return *item == s.item ? kHolds : "item " + std::to_string(*item) + " is selected";
     },
     nullptr},
    {"expect static", VerbGroup::Check, false,
     [](Cursor& c, Step& s) { s.text = c.String("a static text"); },
     [](Stage& stage, const Step& s) {
         std::string problem;
         std::optional<std::vector<WString>> texts = StaticTexts(stage.Device(), problem);
         if (!texts)
             return problem;
         std::string found;
         for (const WString& text : *texts) {
             if (text == s.text)
                 return kHolds;
             if (!text.empty())
                 found += (found.empty() ? "" : ", ") + QuoteCaption(text);
         }
         return "no static text is " + QuoteCaption(s.text, 200) +
                (found.empty() ? " (the dialog has none)" : " (the dialog has " + found + ")");
     },
     nullptr},
    {"expect visible", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         parse::Control(c, s, ControlUse::Any, "a control id");
         s.on = parse::OnOff(c);
     },
     [](Stage& stage, const Step& s) {
         std::string problem;
         std::optional<bool> visible = ControlVisible(stage.Device(), s.control, problem);
         if (!visible)
             return problem;
         return *visible == s.on
                    ? kHolds
                    : "control " + ControlLabel(s) + " is " + (*visible ? "visible" : "hidden");
     },
     nullptr},
    {"expect windows", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.caption = c.String("a caption");
         s.count = c.Number("a window count", 0, 1'000'000);
     },
     [](Stage& stage, const Step& s) {
         const int n = WindowsCaptioned(stage.Device(), s.caption);
         return n == s.count ? kHolds
                             : std::to_string(n) + " window" + (n == 1 ? " is" : "s are") +
                                   " captioned " + QuoteCaption(s.caption);
     },
     nullptr},
    {"expect box", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         if (c.NextIsWord("none")) {
             c.Word("none");
             s.yes = false;
             return;
         }
         s.text = c.String("the box's text (or `none`)");
         while (!c.AtEnd()) {
             if (c.NextIsWord("caption") && !s.hasBoxCaption) {
                 c.Word("caption");
                 s.caption = c.String("the box's caption");
                 s.hasBoxCaption = true;
             } else if (c.NextIsWord("type") && !s.hasBoxType) {
                 c.Word("type");
                 s.boxType = BoxType(c);
                 s.hasBoxType = true;
             } else {
                 break;
             }
         }
     },
     CheckBox, nullptr},
    {"expect setting", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.valueName = c.Name("a setting name");
         s.value = parse::Value(c, true);
     },
     [](Stage& stage, const Step& s) {
         return CheckValue(stage.Device().registry.Find(
                               HKEY_CURRENT_USER, FromUtf8(stage.SettingsKeyPath()), s.valueName),
                           s.value);
     },
     nullptr},
    {"expect reg", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.keyPath = parse::KeyPath(c);
         s.valueName = c.Name("a value name");
         s.value = parse::Value(c, true);
     },
     [](Stage& stage, const Step& s) {
         HKEY root = nullptr;
         WString path;
         if (!sim::Registry::SplitRootPath(s.keyPath, &root, &path))
             return std::string("the key path names no registry root");
         return CheckValue(stage.Device().registry.Find(root, path, s.valueName), s.value);
     },
     nullptr},
    {"expect key", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.keyPath = parse::KeyPath(c);
         s.yes = c.Choice("`exists` or `absent`", {"exists", "absent"}) == 0;
     },
     CheckKey, nullptr},
    {"expect interval", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.count = c.Number("a period in ms", std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::uint32_t>::max());
     },
     CheckInterval, nullptr},
    {"expect calls", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         s.operation = c.Word("an operation name (e.g. SetDevicePower)");
         s.count = c.Number("a call count", 0, std::numeric_limits<long long>::max());
         ParseCallScope(c, s, true);
     },
     [](Stage& stage, const Step& s) {
         // The plain form counts in the device's own trace, as it always has.
         const std::uint64_t calls = s.usesCallLog
                                         ? stage.calls.Count(s.operation, s.caller, s.sinceMark)
                                         : stage.Device().trace.Count(s.operation);
         return calls == static_cast<std::uint64_t>(s.count)
                    ? kHolds
                    : std::to_string(calls) + " call" + (calls == 1 ? "" : "s") +
                          (s.caller ? std::string(" by ") + CallerName(*s.caller) : "") +
                          (s.sinceMark ? " since the mark" : " so far");
     },
     nullptr},
    {"expect call", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         ParsePattern(c, s);
         ParseCallScope(c, s, false);
     },
     CheckNextCall, nullptr},
    {"expect no call", VerbGroup::Check, false,
     [](Cursor& c, Step& s) {
         ParsePattern(c, s);
         ParseCallScope(c, s, false);
     },
     [](Stage& stage, const Step& s) {
         if (stage.calls.Dropped() > 0)
             return TooManyCalls(stage);
         const LoggedCall* found = stage.calls.First(s.call, s.caller);
         return found == nullptr ? kHolds
                                 : "at " + FormatTime(found->time) + " " +
                                       CallerName(found->caller) + " called " + CallText(*found);
     },
     nullptr},
    {"expect handles", VerbGroup::Check, false,
     [](Cursor& c, Step& s) { s.count = c.Number("a handle count", 0, 1'000'000); }, CheckHandles,
     nullptr},
};

} // namespace

std::span<const Verb> CheckVerbs() {
    return kVerbs;
}

} // namespace kiposim
