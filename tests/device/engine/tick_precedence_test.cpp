// The precedence of the tick's rules for one radio, every row of the table: with the off lists
// first or last, on a changed caption or an unchanged one, whichever rules match, the first
// rule that decides wins, and its radio calls are the only ones made.
#include <source_location>

#include "tests/device/engine/tick_fixture.h"

namespace {

using Rows = std::vector<std::string>;

// What matches in a row: an off entry matches the caption, a running entry's window exists,
// an on-while-active entry matches the caption.
enum Match : unsigned { kNone = 0, kOff = 1, kRunning = 2, kActive = 4 };

// The tick's calls in a row, written once for both radios: the running list's look-ups, then
// the radio's live state asked and the switch if needed.
enum class Call { FindTasks, FindCalendar, AskOff, AskOn, SetOn, SetOff };

struct Case {
    std::source_location where = std::source_location::current();
    int offFirst = 0;     // OffTakesPrecedence
    bool changed = false; // the caption differs from the last tick's
    unsigned matches = kNone;
    LONG defaultAction = 0;  // of the radio under test
    LONG before = -1;        // known state at the start of the tick
    bool live = false;       // the radio's live state
    std::vector<Call> calls; // radio-related calls of the tick
    LONG after = -1;         // known state at the end
    std::string decides;     // the decision without the radio's name, or none
};

// The running list always holds a first entry whose window does not exist, and every list a
// first entry that does not match, so a scan that stops too early or looks too far shows.
using enum Call;
// clang-format off
const std::vector<Case> kCases = {
    // Off lists first, caption changed: off, running, active, default.
    {.offFirst = 1, .changed = true, .matches = kOff | kRunning | kActive, .defaultAction = 1, .live = true, .calls = {AskOn, SetOff}, .after = 0, .decides = "off 1 off"},
    {.offFirst = 1, .changed = true, .matches = kRunning | kActive, .defaultAction = 2, .calls = {FindTasks, FindCalendar, AskOff, SetOn}, .after = 1, .decides = "running 1 on"},
    {.offFirst = 1, .changed = true, .matches = kActive, .defaultAction = 2, .calls = {FindTasks, AskOff, SetOn}, .after = 1, .decides = "active 1 on"},
    {.offFirst = 1, .changed = true, .defaultAction = 2, .live = true, .calls = {FindTasks, AskOn, SetOff}, .after = 0, .decides = "default off"},
    {.offFirst = 1, .changed = true, .defaultAction = 0, .live = true, .calls = {FindTasks}},
    {.offFirst = 1, .changed = true, .defaultAction = 3, .before = 1, .calls = {FindTasks}, .after = 1},
    // Off lists first, caption unchanged: known off keeps it decided, not even the running
    // list is looked at; otherwise only the running list.
    {.offFirst = 1, .matches = kOff | kRunning | kActive, .defaultAction = 1, .before = 0, .after = 0, .decides = "known off"},
    {.offFirst = 1, .matches = kOff | kRunning | kActive, .defaultAction = 1, .before = 1, .calls = {FindTasks, FindCalendar, AskOff, SetOn}, .after = 1, .decides = "running 1 on"},
    {.offFirst = 1, .matches = kOff | kActive, .defaultAction = 1, .live = true, .calls = {FindTasks}},
    // Off lists last, caption changed: running, active, off, default.
    {.offFirst = 0, .changed = true, .matches = kOff | kRunning | kActive, .defaultAction = 2, .calls = {FindTasks, FindCalendar, AskOff, SetOn}, .after = 1, .decides = "running 1 on"},
    {.offFirst = 0, .changed = true, .matches = kOff | kActive, .defaultAction = 2, .calls = {FindTasks, AskOff, SetOn}, .after = 1, .decides = "active 1 on"},
    {.offFirst = 0, .changed = true, .matches = kOff, .defaultAction = 1, .live = true, .calls = {FindTasks, AskOn, SetOff}, .after = 0, .decides = "off 1 off"},
    {.offFirst = 0, .changed = true, .defaultAction = 1, .before = 0, .calls = {FindTasks, AskOff, SetOn}, .after = 1, .decides = "default on"},
    // Off lists last, caption unchanged: the running list only, even over a known off.
    {.offFirst = 0, .matches = kOff | kRunning | kActive, .defaultAction = 2, .before = 0, .calls = {FindTasks, FindCalendar, AskOff, SetOn}, .after = 1, .decides = "running 1 on"},
    {.offFirst = 0, .matches = kOff | kActive, .defaultAction = 1, .live = true, .calls = {FindTasks}},
};
// clang-format on

// The trace line of a row's call for one radio; "{calendar}" is the calendar's handle.
std::string CallText(Call call, bool bt) {
    const std::string wlan = "\"{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1\"";
    switch (call) {
    case FindTasks:
        return "FindWindowW(NULL, \"tasks\") = NULL";
    case FindCalendar:
        return "FindWindowW(NULL, \"calendar\") = {calendar}";
    case AskOff:
        return bt ? "BthGetMode(&0) = 0" : "GetDevicePower(" + wlan + ", 1, &4) = 0";
    case AskOn:
        return bt ? "BthGetMode(&1) = 0" : "GetDevicePower(" + wlan + ", 1, &0) = 0";
    case SetOn:
        return bt ? "BthSetMode(1) = 0" : "SetDevicePower(" + wlan + ", 1, 0) = 0";
    case SetOff:
        return bt ? "BthSetMode(0) = 0" : "SetDevicePower(" + wlan + ", 1, 4) = 0";
    }
    return {};
}

void RunCase(const Case& c, bool bt) {
    SCOPED_TRACE(testing::Message()
                 << (bt ? "Bluetooth" : "WiFi") << ", case at line " << c.where.line());
    TickRig rig;
    CMainFrame& frame = rig.frame;
    HWND calendar = rig.device.OpenWindowBehind(TEXT("Calendar"));
    rig.device.OpenWindow(TEXT("Mail - Inbox"));
    RuleList off = {TEXT("notes")};
    RuleList running = {TEXT("tasks")};
    RuleList active = {TEXT("mail - out")};
    if (c.matches & kOff)
        off.push_back(TEXT("mail"));
    if (c.matches & kRunning)
        running.push_back(TEXT("calendar"));
    if (c.matches & kActive)
        active.push_back(TEXT("mail - in"));
    (bt ? frame.BtOffList : frame.WifiOffList) = off;
    (bt ? frame.BtOnRunningList : frame.WifiOnRunningList) = running;
    (bt ? frame.BtOnActiveList : frame.WifiOnActiveList) = active;
    (bt ? frame.DefaultAction : frame.WFDefaultAction) = c.defaultAction;
    (bt ? frame.BtState : frame.WifiState) = c.before;
    frame.OffTakesPrecedence = c.offFirst;
    if (!c.changed)
        frame.LastCaption = TEXT("mail - inbox");
    if (bt)
        rig.device.handheld.bluetooth.SetOn(c.live);
    else
        rig.device.handheld.wlan.UserSwitch(c.live);

    rig.Record();
    rig.Tick();

    Rows calls;
    for (Call call : c.calls)
        calls.push_back(CallText(call, bt));
    EXPECT_CALLS(rig.device.trace, calls,
                 {"FindWindowW", "BthGetMode", "BthSetMode", "GetDevicePower", "SetDevicePower"},
                 {{"calendar", calendar}});
    EXPECT_EQ(bt ? frame.BtState : frame.WifiState, c.after);
    EXPECT_EQ(bt ? frame.WifiState : frame.BtState, -1); // the other radio is untouched
    Rows decisions;
    if (!c.decides.empty())
        decisions.push_back((bt ? "bt " : "wifi ") + c.decides);
    EXPECT_EQ(rig.log.decisions, decisions);
    EXPECT_EQ(frame.LastCaption, WString(TEXT("mail - inbox")));
    EXPECT_EQ(frame.Busy, 0);
}

TEST(TickPrecedenceTest, FirstDecidingRuleWinsForEitherRadio) {
    for (bool bt : {true, false})
        for (const Case& c : kCases)
            RunCase(c, bt);
}

} // namespace
