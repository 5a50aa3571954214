// The checks of the scenario language: everything that follows `expect`.
#include <limits>

#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/short_text.h"

namespace kiposim::parse {

void ParseExpect(Cursor& c, Step& step) {
    const int column = c.Column();
    std::string what = c.Word("what to expect");
    if (what == "bt" || what == "wifi") {
        step.kind = what == "bt" ? StepKind::ExpectBt : StepKind::ExpectWifi;
        step.on = OnOff(c);
    } else if (what == "running") {
        step.kind = StepKind::ExpectRunning;
    } else if (what == "ended") {
        step.kind = StepKind::ExpectEnded;
    } else if (what == "icon") {
        step.kind = StepKind::ExpectIcon;
        if (c.NextIsWord("shown") || c.NextIsWord("hidden")) {
            step.icon =
                c.Choice("", {"shown", "hidden"}) == 0 ? IconCheck::Shown : IconCheck::Hidden;
        } else {
            step.icon = IconCheck::Resource;
            step.number = c.Number("`shown`, `hidden` or an icon resource number", 0, 65535);
        }
    } else if (what == "menu") {
        step.kind = StepKind::ExpectMenu;
        step.on = c.Choice("the menu state", {"open", "closed"}) == 0;
    } else if (what == "window") {
        step.kind = StepKind::ExpectWindow;
        step.text = c.String("a caption");
        int state = c.Choice("the window state", {"visible", "hidden", "absent"});
        step.window = state == 0   ? WindowCheck::Visible
                      : state == 1 ? WindowCheck::Hidden
                                   : WindowCheck::Absent;
    } else if (what == "foreground") {
        step.kind = StepKind::ExpectForeground;
        // `none` (no foreground window) is a word; a caption is always a string.
        if (c.NextIsWord("none")) {
            c.Word("none");
            step.on = false;
        } else {
            step.text = c.String("a caption (or `none`)");
            step.on = true;
        }
    } else if (what == "text") {
        step.kind = StepKind::ExpectText;
        step.number = ControlId(c);
        step.text = c.String("a text");
    } else if (what == "checked") {
        step.kind = StepKind::ExpectChecked;
        step.number = ControlId(c);
        step.on = OnOff(c);
    } else if (what == "selected") {
        step.kind = StepKind::ExpectSelected;
        step.number = ControlId(c);
        step.number2 = c.Number("an item number (-1: none)", -1, 65535);
    } else if (what == "setting") {
        step.kind = StepKind::ExpectSetting;
        step.text = c.Name("a setting name");
        step.value = Value(c, true);
    } else if (what == "reg") {
        step.kind = StepKind::ExpectReg;
        step.text = KeyPath(c);
        step.text2 = c.Name("a value name");
        step.value = Value(c, true);
    } else if (what == "key") {
        step.kind = StepKind::ExpectKey;
        step.text = KeyPath(c);
        step.on = c.Choice("`exists` or `absent`", {"exists", "absent"}) == 0;
    } else if (what == "interval") {
        step.kind = StepKind::ExpectInterval;
        step.number = c.Number("a period in ms", std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::uint32_t>::max());
    } else if (what == "calls") {
        step.kind = StepKind::ExpectCalls;
        step.operation = c.Word("an operation name (e.g. SetDevicePower)");
        step.number = c.Number("a call count", 0, std::numeric_limits<long long>::max());
    } else if (what == "handles") {
        step.kind = StepKind::ExpectHandles;
        step.number = c.Number("a handle count", 0, 1'000'000);
    } else {
        c.Fail(column, "unknown check `expect " + ShortText(what) + "`");
    }
}

} // namespace kiposim::parse
