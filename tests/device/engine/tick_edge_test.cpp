// The monitor tick's edge cases: the busy guard, what a steady tick calls, begins-with
// matching, unchanged captions, running lists that re-assert, the early end, repeated WiFi
// matches, default actions, and captions that are empty, missing, long or in capitals.
#include "tests/device/engine/tick_fixture.h"

namespace {

using Rows = std::vector<std::string>;

const std::string kWlan = "\"{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1\"";
const std::string kWifiAskOff = "GetDevicePower(" + kWlan + ", 1, &4) = 0";
const std::string kWifiAskOn = "GetDevicePower(" + kWlan + ", 1, &0) = 0";
const std::string kWifiSetOn = "SetDevicePower(" + kWlan + ", 1, 0) = 0";

using TickEdgeTest = TickTest;

TEST_F(TickEdgeTest, BusyFrameOnlyPassesTheMessageOn) {
    device.OpenWindow(TEXT("Mail"));
    frame.BtOnRunningList = {TEXT("mail")};
    frame.BtOnActiveList = {TEXT("mail")};
    frame.WifiOffList = {TEXT("mail")};
    frame.DefaultAction = 1;
    frame.KeepPDAOn = 1;
    frame.WifiState = 1;
    frame.KeepAliveCounter = 21;
    frame.Busy = 1;
    Record();
    Tick();
    EXPECT_CALLS(device.trace, {});
    EXPECT_EQ(frame.Busy, 1);
    EXPECT_EQ(frame.KeepAliveCounter, 21);
    EXPECT_EQ(frame.BtState, -1);
    EXPECT_EQ(frame.WifiState, 1);
    EXPECT_TRUE(frame.LastCaption.empty());
    EXPECT_TRUE(log.decisions.empty());
}

TEST_F(TickEdgeTest, SteadyTickReadsTheCaptionAndLooksUpRunningEntriesOnly) {
    HWND mail = device.OpenWindow(TEXT("Mail - Inbox"));
    frame.BtOnRunningList = {TEXT("tasks"), TEXT("notes")};
    frame.WifiOnRunningList = {TEXT("word")};
    // These would all act on a changed caption.
    frame.BtOnActiveList = {TEXT("mail")};
    frame.WifiOnActiveList = {TEXT("mail")};
    frame.BtOffList = {TEXT("mail")};
    frame.WifiOffList = {TEXT("mail")};
    frame.DefaultAction = 1;
    frame.WFDefaultAction = 1;
    Tick();
    log.decisions.clear();
    Record();
    Tick();
    EXPECT_CALLS(device.trace,
                 {
                     "GetForegroundWindow() = {mail}",
                     "GetWindowTextLengthW({mail}) = 12",
                     "GetWindowTextW({mail}, 13) = 12",
                     "FindWindowW(NULL, \"tasks\") = NULL",
                     "FindWindowW(NULL, \"notes\") = NULL",
                     "FindWindowW(NULL, \"word\") = NULL",
                 },
                 {}, {{"mail", mail}});
    EXPECT_TRUE(log.decisions.empty());
}

TEST_F(TickEdgeTest, RunningScanStopsAtTheFirstWindowThatExists) {
    HWND notes = device.OpenWindowBehind(TEXT("Notes"));
    device.OpenWindow(TEXT("Mail"));
    frame.BtOnRunningList = {TEXT("tasks"), TEXT("notes"), TEXT("mail")};
    Tick();
    Record();
    Tick();
    EXPECT_CALLS(device.trace,
                 {"FindWindowW(NULL, \"tasks\") = NULL", "FindWindowW(NULL, \"notes\") = {notes}",
                  "BthGetMode(&1) = 0"},
                 {"FindWindowW", "BthGetMode", "BthSetMode"}, {{"notes", notes}});
    EXPECT_EQ(log.decisions.back(), "bt running 1 on");
}

struct MatchCase {
    int line;
    const WCHAR* caption;
    const WCHAR* entry;
    bool matches;
};

// The caption, lower-cased, must begin with the entry.
TEST(TickMatchTest, OnActiveEntriesMatchOnlyAtTheStartOfTheCaption) {
    const MatchCase cases[] = {
        {__LINE__, TEXT("Pocket Word - Notes"), TEXT("pocket"), true},
        {__LINE__, TEXT("Pocket Word - Notes"), TEXT("word"), false},
        {__LINE__, TEXT("Pocket Word - Notes"), TEXT("pocket word - notes"), true},
        {__LINE__, TEXT("Pocket Word - Notes"), TEXT("pocket word - notes!"), false},
        {__LINE__, TEXT("POCKET WORD"), TEXT("pocket w"), true},
        {__LINE__, TEXT("My pocket"), TEXT("pocket"), false},
        {__LINE__, TEXT(" Pocket"), TEXT("pocket"), false},
        {__LINE__, TEXT("\u00C9CRAN"), TEXT("\u00E9cran"), true},
        {__LINE__, TEXT("Pocket"), TEXT("pocket "), false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        TickRig rig;
        rig.device.OpenWindow(c.caption);
        rig.frame.BtOnActiveList = {c.entry};
        rig.Tick();
        EXPECT_EQ(rig.frame.BtState, c.matches ? 1 : -1);
        EXPECT_EQ(rig.device.handheld.bluetooth.IsOn(), c.matches);
    }
}

TEST_F(TickEdgeTest, SameCaptionIsNotEvaluatedAgainEvenAfterAHandSwitch) {
    device.OpenWindow(TEXT("Today"));
    frame.WifiOffList = {TEXT("today")};
    device.handheld.wlan.UserSwitch(true);
    Tick();
    EXPECT_FALSE(sim::WifiIsOn(device));
    EXPECT_EQ(frame.WifiState, 0);
    sim::UserSwitchWifi(device, true);
    Record();
    Tick();
    EXPECT_CALLS(device.trace, {}, {"GetDevicePower", "SetDevicePower"});
    EXPECT_TRUE(sim::WifiIsOn(device));
    // A new caption is evaluated again.
    device.OpenWindow(TEXT("Today screen"));
    Tick();
    EXPECT_FALSE(sim::WifiIsOn(device));
}

TEST_F(TickEdgeTest, RunningEntrySwitchesTheRadioBackOnEveryTick) {
    device.OpenWindowBehind(TEXT("GPS Tool"));
    device.OpenWindow(TEXT("Map"));
    frame.BtOnRunningList = {TEXT("gps tool")};
    for (int tick = 1; tick <= 3; ++tick) {
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        Record();
        Tick();
        EXPECT_TRUE(sim::BluetoothIsOn(device));
        EXPECT_EQ(frame.BtState, 1);
        // Every tick asks the radio, whatever the caption did.
        EXPECT_EQ(device.trace.Texts({"BthGetMode"}).size(), 1u);
        sim::UserSwitchBluetooth(device, false);
    }
    EXPECT_EQ(device.trace.Count("BthSetMode"), 3u);
}

TEST_F(TickEdgeTest, OffFirstKeepsBluetoothOffWhileTheCaptionStaysAndWifiGoesItsOwnWay) {
    device.OpenWindowBehind(TEXT("Headset"));
    device.OpenWindow(TEXT("Phone"));
    device.handheld.bluetooth.SetOn(true);
    frame.OffTakesPrecedence = 1;
    frame.BtOffList = {TEXT("phone")};
    frame.BtOnRunningList = {TEXT("headset")};
    frame.WifiOnRunningList = {TEXT("headset")};
    for (int tick = 1; tick <= 3; ++tick) {
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        Tick();
        EXPECT_FALSE(sim::BluetoothIsOn(device));
        EXPECT_EQ(frame.BtState, 0);
        EXPECT_TRUE(sim::WifiIsOn(device));
        EXPECT_EQ(frame.WifiState, 1);
    }
    EXPECT_EQ(device.trace.Count("BthSetMode"), 1u);
}

TEST_F(TickEdgeTest, BluetoothOnActiveEndsTheTickBeforeWifiAndDefaults) {
    device.OpenWindow(TEXT("Sync"));
    device.handheld.wlan.UserSwitch(true);
    frame.BtOnActiveList = {TEXT("sync")};
    frame.WifiOnActiveList = {TEXT("sync")};
    frame.WifiOffList = {TEXT("sync")};
    frame.WFDefaultAction = 2;
    Record();
    Tick();
    EXPECT_CALLS(device.trace, {"BthGetMode(&0) = 0", "BthSetMode(1) = 0"},
                 {"BthGetMode", "BthSetMode", "GetDevicePower", "SetDevicePower"});
    EXPECT_TRUE(log.early);
    EXPECT_EQ(frame.BtState, 1);
    EXPECT_EQ(frame.WifiState, -1);
    EXPECT_TRUE(sim::WifiIsOn(device));
    // Later ticks with that caption do not come back to it.
    Tick();
    EXPECT_EQ(frame.WifiState, -1);
    EXPECT_TRUE(sim::WifiIsOn(device));
}

TEST_F(TickEdgeTest, EveryMatchingWifiOnActiveEntryTurnsWifiOn) {
    device.OpenWindow(TEXT("Internet Explorer"));
    frame.WifiOnActiveList = {TEXT("internet"), TEXT("notes"), TEXT("internet explorer")};
    Record();
    Tick();
    EXPECT_CALLS(device.trace, {kWifiAskOff, kWifiSetOn, kWifiAskOn},
                 {"GetDevicePower", "SetDevicePower"});
    const Rows decisions = {"wifi active 0 on", "wifi active 2 on"};
    EXPECT_EQ(log.decisions, decisions);
}

struct DefaultCase {
    int line;
    LONG action;
    LONG stateBefore;
    bool radioBefore;
    LONG stateAfter;
    bool radioAfter;
    std::size_t calls; // radio calls made
};

TEST(TickDefaultTest, DefaultActionsOnlyForOneAndTwo) {
    const DefaultCase cases[] = {
        {__LINE__, 1, -1, false, 1, true, 2}, {__LINE__, 1, 0, true, 1, true, 1},
        {__LINE__, 2, -1, true, 0, false, 2}, {__LINE__, 2, 1, false, 0, false, 1},
        {__LINE__, 0, -1, true, -1, true, 0}, {__LINE__, 3, 1, false, 1, false, 0},
        {__LINE__, -1, 0, true, 0, true, 0},  {__LINE__, 0x7fffffff, -1, true, -1, true, 0},
    };
    for (const DefaultCase& c : cases) {
        for (bool bt : {true, false}) {
            SCOPED_TRACE(testing::Message() << "case at line " << c.line << (bt ? " bt" : " wifi"));
            TickRig rig;
            rig.device.OpenWindow(TEXT("Anything"));
            (bt ? rig.frame.DefaultAction : rig.frame.WFDefaultAction) = c.action;
            (bt ? rig.frame.BtState : rig.frame.WifiState) = c.stateBefore;
            if (bt)
                rig.device.handheld.bluetooth.SetOn(c.radioBefore);
            else
                rig.device.handheld.wlan.UserSwitch(c.radioBefore);
            rig.Record();
            rig.Tick();
            EXPECT_EQ(bt ? rig.frame.BtState : rig.frame.WifiState, c.stateAfter);
            EXPECT_EQ(bt ? sim::BluetoothIsOn(rig.device) : sim::WifiIsOn(rig.device),
                      c.radioAfter);
            const auto calls =
                bt ? calls::Recorded(rig.device.trace, {"BthGetMode", "BthSetMode"})
                   : calls::Recorded(rig.device.trace, {"GetDevicePower", "SetDevicePower"});
            EXPECT_EQ(calls.size(), c.calls);
        }
    }
}

TEST_F(TickEdgeTest, EmptyCaptionAfterAnotherIsAChangeThatOnlyDefaultsAndRunningListsSee) {
    HWND window = device.OpenWindow(TEXT("Notes"));
    Tick();
    ASSERT_EQ(frame.LastCaption, WString(TEXT("notes")));
    SetWindowTextW(window, TEXT(""));
    frame.BtOnActiveList = {TEXT("notes")};
    frame.BtOffList = {TEXT("notes")};
    frame.DefaultAction = 1;
    Record();
    Tick();
    EXPECT_CALLS(device.trace,
                 {"GetForegroundWindow() = {notes}", "GetWindowTextLengthW({notes}) = 0",
                  "BthGetMode(&0) = 0", "BthSetMode(1) = 0"},
                 {}, {{"notes", window}});
    EXPECT_TRUE(frame.LastCaption.empty());
    const Rows decisions = {"bt default on"};
    EXPECT_EQ(log.decisions, decisions);
}

TEST_F(TickEdgeTest, NoForegroundWindowReadsAsTheEmptyCaption) {
    device.OpenWindow(TEXT("Notes"));
    Tick();
    device.NoForeground();
    frame.WFDefaultAction = 1;
    Record();
    Tick();
    EXPECT_CALLS(device.trace, {"GetForegroundWindow() = NULL", kWifiAskOff, kWifiSetOn});
    EXPECT_TRUE(frame.LastCaption.empty());
    // Still none: no change, nothing more.
    Record();
    Tick();
    EXPECT_CALLS(device.trace, {"GetForegroundWindow() = NULL"});
}

TEST_F(TickEdgeTest, LongCaptionsInCapitalsAreReadWholeAndLowered) {
    WString caption(70000, u'A');
    caption += TEXT("Z END");
    device.OpenWindow(caption);
    WString entry(70000, u'a');
    entry += TEXT("z");
    frame.BtOnActiveList = {entry};
    Tick();
    EXPECT_EQ(frame.LastCaption.size(), 70005u);
    EXPECT_EQ(frame.LastCaption.substr(69998), WString(TEXT("aaz end")));
    EXPECT_EQ(frame.BtState, 1);
}

// A window may report a text length above its text (ANSI and Unicode mixed): the caption is
// what was copied, with nothing of an earlier, longer caption left in the buffer.
LRESULT CALLBACK OverstatingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    return message == WM_GETTEXTLENGTH ? result + 20 : result;
}

TEST_F(TickEdgeTest, ATextLengthAboveTheTextReadsAsTheTextAlone) {
    device.OpenWindow(TEXT("Pocket Internet Explorer - Kipo help"));
    Tick();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &OverstatingProc;
    wc.lpszClassName = TEXT("Overstating");
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND inbox = CreateWindowExW(0, TEXT("Overstating"), TEXT("Inbox"), WS_VISIBLE, 0, 0, 10, 10,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(inbox, nullptr);
    ASSERT_TRUE(SetForegroundWindow(inbox));
    ASSERT_EQ(GetWindowTextLengthW(inbox), 25);
    Tick();
    EXPECT_EQ(frame.LastCaption, WString(TEXT("inbox")));
    DestroyWindow(inbox);
}

TEST_F(TickEdgeTest, TheProgramsOwnWindowsAreEvaluatedLikeAnyOther) {
    device.OpenWindow(TEXT("Kipo Settings"), sim::kProgramProcess);
    frame.WifiOnActiveList = {TEXT("kipo settings")};
    Tick();
    EXPECT_EQ(frame.WifiState, 1);
    device.OpenWindow(TEXT("Desktop2"));
    frame.WFDefaultAction = 2;
    Tick();
    EXPECT_EQ(frame.WifiState, 0);
}

TEST_F(TickEdgeTest, RenamedForegroundWindowCountsAsAChange) {
    device.OpenWindow(TEXT("Inbox"));
    frame.BtOnActiveList = {TEXT("inbox - new")};
    Tick();
    EXPECT_EQ(frame.BtState, -1);
    device.Rename(TEXT("Inbox"), TEXT("Inbox - New Message"));
    Tick();
    EXPECT_EQ(frame.BtState, 1);
    EXPECT_EQ(frame.LastCaption, WString(TEXT("inbox - new message")));
}

} // namespace
