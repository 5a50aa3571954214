// The precedence of the tick's rules for one radio, every row of the table: with the off lists
// first or last, on a changed caption or an unchanged one, whichever rules match, the first
// rule that decides wins, and its radio calls are the only ones made.
#include "tests/device/engine/tick_fixture.h"

namespace {

using Rows = std::vector<std::string>;

enum class Radio { Bt, Wifi };

// Radio calls in the rows: the live state asked, then the switch if needed.
const std::string kBtAskOff = "BthGetMode(&0) = 0";
const std::string kBtAskOn = "BthGetMode(&1) = 0";
const std::string kBtSetOn = "BthSetMode(1) = 0";
const std::string kBtSetOff = "BthSetMode(0) = 0";
const std::string kWlan = "\"{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1\"";
const std::string kWifiAskOff = "GetDevicePower(" + kWlan + ", 1, &4) = 0";
const std::string kWifiAskOn = "GetDevicePower(" + kWlan + ", 1, &0) = 0";
const std::string kWifiSetOn = "SetDevicePower(" + kWlan + ", 1, 0) = 0";
const std::string kWifiSetOff = "SetDevicePower(" + kWlan + ", 1, 4) = 0";
const std::string kFindTasks = "FindWindowW(NULL, \"tasks\") = NULL";
const std::string kFindCalendar = "FindWindowW(NULL, \"calendar\") = {calendar}";

struct Case {
    int line;
    Radio radio;
    int offFirst;       // OffTakesPrecedence
    bool changed;       // the caption differs from the last tick's
    bool off;           // an off entry matches the caption
    bool running;       // a running entry's window exists
    bool active;        // an on-while-active entry matches the caption
    LONG defaultAction; // of this radio
    LONG stateBefore;   // known state at the start of the tick
    bool radioOn;       // the radio's live state
    Rows calls;         // radio-related calls of the tick
    LONG stateAfter;
    Rows decisions;
};

// Bluetooth rows. The running list always holds a first entry whose window does not exist.
const std::vector<Case> kBluetooth = {
    // Off lists first, caption changed: off, running, active, default.
    {__LINE__,
     Radio::Bt,
     1,
     true,
     true,
     true,
     true,
     1,
     -1,
     true,
     {kBtAskOn, kBtSetOff},
     0,
     {"bt off 1 off"}},
    {__LINE__,
     Radio::Bt,
     1,
     true,
     false,
     true,
     true,
     2,
     -1,
     false,
     {kFindTasks, kFindCalendar, kBtAskOff, kBtSetOn},
     1,
     {"bt running 1 on"}},
    {__LINE__,
     Radio::Bt,
     1,
     true,
     false,
     false,
     true,
     2,
     -1,
     false,
     {kFindTasks, kBtAskOff, kBtSetOn},
     1,
     {"bt active 1 on"}},
    {__LINE__,
     Radio::Bt,
     1,
     true,
     false,
     false,
     false,
     2,
     -1,
     true,
     {kFindTasks, kBtAskOn, kBtSetOff},
     0,
     {"bt default off"}},
    {__LINE__, Radio::Bt, 1, true, false, false, false, 0, -1, true, {kFindTasks}, -1, {}},
    {__LINE__, Radio::Bt, 1, true, false, false, false, 3, 1, false, {kFindTasks}, 1, {}},
    // Off lists first, caption unchanged: known off keeps it decided, not even the running
    // list is looked at; otherwise only the running list.
    {__LINE__, Radio::Bt, 1, false, true, true, true, 1, 0, false, {}, 0, {"bt known off"}},
    {__LINE__,
     Radio::Bt,
     1,
     false,
     true,
     true,
     true,
     1,
     1,
     false,
     {kFindTasks, kFindCalendar, kBtAskOff, kBtSetOn},
     1,
     {"bt running 1 on"}},
    {__LINE__, Radio::Bt, 1, false, true, false, true, 1, -1, true, {kFindTasks}, -1, {}},
    // Off lists last, caption changed: running, active, off, default.
    {__LINE__,
     Radio::Bt,
     0,
     true,
     true,
     true,
     true,
     2,
     -1,
     false,
     {kFindTasks, kFindCalendar, kBtAskOff, kBtSetOn},
     1,
     {"bt running 1 on"}},
    {__LINE__,
     Radio::Bt,
     0,
     true,
     true,
     false,
     true,
     2,
     -1,
     false,
     {kFindTasks, kBtAskOff, kBtSetOn},
     1,
     {"bt active 1 on"}},
    {__LINE__,
     Radio::Bt,
     0,
     true,
     true,
     false,
     false,
     1,
     -1,
     true,
     {kFindTasks, kBtAskOn, kBtSetOff},
     0,
     {"bt off 1 off"}},
    {__LINE__,
     Radio::Bt,
     0,
     true,
     false,
     false,
     false,
     1,
     0,
     false,
     {kFindTasks, kBtAskOff, kBtSetOn},
     1,
     {"bt default on"}},
    // Off lists last, caption unchanged: the running list only, even over a known off.
    {__LINE__,
     Radio::Bt,
     0,
     false,
     true,
     true,
     true,
     2,
     0,
     false,
     {kFindTasks, kFindCalendar, kBtAskOff, kBtSetOn},
     1,
     {"bt running 1 on"}},
    {__LINE__, Radio::Bt, 0, false, true, false, true, 1, -1, true, {kFindTasks}, -1, {}},
};

// The same rows for WiFi.
const std::vector<Case> kWifi = {
    {__LINE__,
     Radio::Wifi,
     1,
     true,
     true,
     true,
     true,
     1,
     -1,
     true,
     {kWifiAskOn, kWifiSetOff},
     0,
     {"wifi off 1 off"}},
    {__LINE__,
     Radio::Wifi,
     1,
     true,
     false,
     true,
     true,
     2,
     -1,
     false,
     {kFindTasks, kFindCalendar, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi running 1 on"}},
    {__LINE__,
     Radio::Wifi,
     1,
     true,
     false,
     false,
     true,
     2,
     -1,
     false,
     {kFindTasks, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi active 1 on"}},
    {__LINE__,
     Radio::Wifi,
     1,
     true,
     false,
     false,
     false,
     2,
     -1,
     true,
     {kFindTasks, kWifiAskOn, kWifiSetOff},
     0,
     {"wifi default off"}},
    {__LINE__, Radio::Wifi, 1, true, false, false, false, 0, -1, true, {kFindTasks}, -1, {}},
    {__LINE__, Radio::Wifi, 1, false, true, true, true, 1, 0, false, {}, 0, {"wifi known off"}},
    {__LINE__,
     Radio::Wifi,
     1,
     false,
     true,
     true,
     true,
     1,
     1,
     false,
     {kFindTasks, kFindCalendar, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi running 1 on"}},
    {__LINE__, Radio::Wifi, 1, false, true, false, true, 1, -1, true, {kFindTasks}, -1, {}},
    {__LINE__,
     Radio::Wifi,
     0,
     true,
     true,
     true,
     true,
     2,
     -1,
     false,
     {kFindTasks, kFindCalendar, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi running 1 on"}},
    {__LINE__,
     Radio::Wifi,
     0,
     true,
     true,
     false,
     true,
     2,
     -1,
     false,
     {kFindTasks, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi active 1 on"}},
    {__LINE__,
     Radio::Wifi,
     0,
     true,
     true,
     false,
     false,
     1,
     -1,
     true,
     {kFindTasks, kWifiAskOn, kWifiSetOff},
     0,
     {"wifi off 1 off"}},
    {__LINE__,
     Radio::Wifi,
     0,
     true,
     false,
     false,
     false,
     1,
     0,
     false,
     {kFindTasks, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi default on"}},
    {__LINE__,
     Radio::Wifi,
     0,
     false,
     true,
     true,
     true,
     2,
     0,
     false,
     {kFindTasks, kFindCalendar, kWifiAskOff, kWifiSetOn},
     1,
     {"wifi running 1 on"}},
    {__LINE__, Radio::Wifi, 0, false, true, false, true, 1, -1, true, {kFindTasks}, -1, {}},
};

void RunCase(const Case& c) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    TickRig rig;
    CMainFrame& frame = rig.frame;
    HWND calendar = rig.device.OpenWindowBehind(TEXT("Calendar"));
    rig.device.OpenWindow(TEXT("Mail - Inbox"));
    const bool bt = c.radio == Radio::Bt;
    // Each list starts with an entry that does not match, so a scan that stops too early or
    // looks too far shows.
    RuleList off = {TEXT("notes")};
    RuleList running = {TEXT("tasks")};
    RuleList active = {TEXT("mail - out")};
    if (c.off)
        off.push_back(TEXT("mail"));
    if (c.running)
        running.push_back(TEXT("calendar"));
    if (c.active)
        active.push_back(TEXT("mail - in"));
    (bt ? frame.BtOffList : frame.WifiOffList) = off;
    (bt ? frame.BtOnRunningList : frame.WifiOnRunningList) = running;
    (bt ? frame.BtOnActiveList : frame.WifiOnActiveList) = active;
    (bt ? frame.DefaultAction : frame.WFDefaultAction) = c.defaultAction;
    (bt ? frame.BtState : frame.WifiState) = c.stateBefore;
    frame.OffTakesPrecedence = c.offFirst;
    if (!c.changed)
        frame.LastCaption = TEXT("mail - inbox");
    if (bt)
        rig.device.handheld.bluetooth.SetOn(c.radioOn);
    else
        rig.device.handheld.wlan.UserSwitch(c.radioOn);

    rig.Record();
    rig.Tick();

    Rows expected = c.calls;
    for (std::string& row : expected)
        if (auto at = row.find("{calendar}"); at != std::string::npos)
            row.replace(at, 10, HandleText(calendar));
    EXPECT_CALLS(rig.device.trace, expected,
                 {"FindWindowW", "BthGetMode", "BthSetMode", "GetDevicePower", "SetDevicePower"});
    EXPECT_EQ(bt ? frame.BtState : frame.WifiState, c.stateAfter);
    EXPECT_EQ(bt ? frame.WifiState : frame.BtState, -1); // the other radio is untouched
    EXPECT_EQ(rig.log.decisions, c.decisions);
    EXPECT_EQ(frame.LastCaption, WString(TEXT("mail - inbox")));
    EXPECT_EQ(frame.Busy, 0);
}

TEST(TickPrecedenceTest, BluetoothFirstDecidingRuleWins) {
    for (const Case& c : kBluetooth)
        RunCase(c);
}

TEST(TickPrecedenceTest, WifiFirstDecidingRuleWins) {
    for (const Case& c : kWifi)
        RunCase(c);
}

} // namespace
