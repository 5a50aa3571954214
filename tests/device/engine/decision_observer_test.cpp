// The decision observer hears every step of a tick in order, and a tick behaves the same with
// or without one.
#include "tests/device/engine/tick_fixture.h"

namespace {

// Writes every hook down as one line.
class Transcript : public CDecisionObserver {
  public:
    void OnTickSkipped() override { lines.push_back("skipped"); }
    void OnKeepAlive(LONG counter, bool reset) override {
        lines.push_back("keep " + std::to_string(counter) + (reset ? " reset" : ""));
    }
    void OnTickStart(const WString& caption, bool changed) override {
        lines.push_back("start \"" + ToUtf8(caption) + "\"" + (changed ? " changed" : ""));
    }
    void OnRuleTried(TickRadio radio, TickRule list, int index, const WString& entry,
                     bool matched) override {
        lines.push_back(std::string("try ") + Radio(radio) + " " + Rule(list) + " " +
                        std::to_string(index) + " \"" + ToUtf8(entry) + "\"" +
                        (matched ? " match" : ""));
    }
    void OnDecision(const TickDecision& d) override {
        lines.push_back(std::string("decide ") + Radio(d.radio) + " " + Rule(d.rule) + " " +
                        std::to_string(d.index) + " \"" + (d.entry ? ToUtf8(*d.entry) : "") +
                        "\" " + (d.on ? "on" : "off"));
    }
    void OnTickEnd(bool endedEarly) override { lines.push_back(endedEarly ? "end early" : "end"); }

    std::vector<std::string> lines;

  private:
    static const char* Radio(TickRadio r) { return r == TickRadio::Bluetooth ? "bt" : "wifi"; }
    static const char* Rule(TickRule r) {
        static const char* const kNames[] = {"off", "running", "active", "default", "known"};
        return kNames[static_cast<int>(r)];
    }
};

class DecisionObserverTest : public TickTest {
  protected:
    DecisionObserverTest() { frame.SetDecisionObserver(&transcript); }
    Transcript transcript;
};

TEST_F(DecisionObserverTest, HearsEachRuleTriedAndEachDecisionInOrder) {
    device.OpenWindow(TEXT("Mail - Inbox"));
    frame.KeepPDAOn = 1;
    frame.WifiState = 1;
    frame.BtOnRunningList = {TEXT("tasks")};
    frame.WifiOnActiveList = {TEXT("notes"), TEXT("mail")};
    frame.BtOffList = {TEXT("mail - in")};
    frame.WifiOffList = {TEXT("mail")};
    frame.WFDefaultAction = 2;
    Tick();
    const std::vector<std::string> expected = {
        "keep 1",
        "start \"mail - inbox\" changed",
        "try bt running 0 \"tasks\"",
        "try wifi active 0 \"notes\"",
        "try wifi active 1 \"mail\" match",
        "decide wifi active 1 \"mail\" on",
        "try bt off 0 \"mail - in\" match",
        "decide bt off 0 \"mail - in\" off",
        "end",
    };
    EXPECT_EQ(transcript.lines, expected);
}

TEST_F(DecisionObserverTest, HearsKnownOffDefaultsEarlyEndAndSkippedTicks) {
    device.OpenWindow(TEXT("Sync"));
    frame.OffTakesPrecedence = 1;
    frame.BtOnActiveList = {TEXT("sync")};
    frame.DefaultAction = 2;
    frame.WFDefaultAction = 2;
    Tick(); // bt on-while-active ends the tick
    frame.BtState = 0;
    frame.WifiState = 0;
    Tick(); // unchanged: both known off
    frame.Busy = 1;
    Tick();
    frame.Busy = 0;
    device.OpenWindow(TEXT("Other"));
    Tick(); // both defaults
    const std::vector<std::string> expected = {
        "start \"sync\" changed",
        "try bt active 0 \"sync\" match",
        "decide bt active 0 \"sync\" on",
        "end early",
        "start \"sync\"",
        "decide bt known -1 \"\" off",
        "decide wifi known -1 \"\" off",
        "end",
        "skipped",
        "start \"other\" changed",
        "try bt active 0 \"sync\"",
        "decide bt default -1 \"\" off",
        "decide wifi default -1 \"\" off",
        "end",
    };
    EXPECT_EQ(transcript.lines, expected);
}

// The same ticks with and without a listener make the same platform calls.
TEST(DecisionObserverSideEffectTest, ChangesNothing) {
    std::vector<std::string> calls[2];
    for (int withObserver = 0; withObserver < 2; ++withObserver) {
        TickRig rig;
        Transcript transcript;
        rig.frame.SetDecisionObserver(withObserver ? &transcript : nullptr);
        rig.device.OpenWindowBehind(TEXT("GPS"));
        rig.device.OpenWindow(TEXT("Map"));
        rig.frame.BtOnRunningList = {TEXT("gps")};
        rig.frame.WifiOnActiveList = {TEXT("map")};
        rig.frame.KeepPDAOn = 1;
        rig.Record();
        for (int i = 0; i < 30; ++i)
            rig.Tick();
        calls[withObserver] = calls::Recorded(rig.device.trace);
        EXPECT_EQ(rig.frame.KeepAliveCounter, 7);
        EXPECT_EQ(withObserver ? !transcript.lines.empty() : transcript.lines.empty(), true);
    }
    EXPECT_EQ(calls[0], calls[1]);
    EXPECT_FALSE(calls[0].empty());
}

} // namespace
