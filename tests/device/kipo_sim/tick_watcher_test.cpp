// The tick watcher's reports: the words of each decision follow the decision even when the
// program rewrites a list entry in place, a report starts every tick afresh, news of the
// keep-alive step belongs to its own tick, and a tick that runs while a report is being
// handled does not change that report.
#include <gtest/gtest.h>

#include <source_location>
#include <vector>

#include "tools/kipo-sim/tick_watcher.h"

using namespace kiposim;

namespace {

// Runs one tick through the watcher as the monitor tick does.
void RunTick(TickWatcher& watcher, const WString& caption, bool changed,
             const std::vector<TickDecision>& decisions) {
    watcher.OnTickStart(caption, changed);
    for (const TickDecision& decision : decisions)
        watcher.OnDecision(decision);
    watcher.OnTickEnd(false);
}

TEST(TickWatcher, DecisionWordsFollowEveryPartOfTheDecision) {
    // One entry object for every row, rewritten in place between ticks as the program's lists
    // can be: words kept by where the entry lives would go stale.
    WString entry;
    struct Row {
        std::source_location where = std::source_location::current();
        TickRadio radio = TickRadio::Bluetooth;
        TickRule rule = TickRule::RunningList;
        int index = 0;
        const char16_t* entry = nullptr; // null: a decision without an entry
        bool on = true;
        const char* words = "";
    };
    using enum TickRule;
    const TickRadio kWifi = TickRadio::Wifi;
    // clang-format off
    const Row rows[] = {
        {.entry = u"phone", .words = "running list entry 1 \"phone\" (its window exists)"},
        {.entry = u"phone", .words = "running list entry 1 \"phone\" (its window exists)"},
        {.entry = u"phonebook", .words = "running list entry 1 \"phonebook\" (its window exists)"},
        {.entry = u"phonebooK", .words = "running list entry 1 \"phonebooK\" (its window exists)"},
        {.index = 1, .entry = u"phonebooK", .words = "running list entry 2 \"phonebooK\" (its window exists)"},
        {.rule = OnActiveList, .index = 1, .entry = u"phonebooK", .words = "on-while-active list entry 2 \"phonebooK\""},
        {.rule = OffList, .index = 1, .entry = u"phonebooK", .on = false, .words = "off list entry 2 \"phonebooK\""},
        {.rule = DefaultAction, .index = -1, .words = "default action (Turn On)"},
        {.rule = DefaultAction, .index = -1, .on = false, .words = "default action (Turn Off)"},
        {.rule = KnownOff, .index = -1, .on = false, .words = "known off, caption unchanged (off lists first)"},
        // The other radio keeps words of its own.
        {.radio = kWifi, .rule = OnActiveList, .entry = u"inbox", .words = "on-while-active list entry 1 \"inbox\""},
        {.rule = KnownOff, .index = -1, .on = false, .words = "known off, caption unchanged (off lists first)"},
        {.entry = u"", .words = "running list entry 1 \"\" (its window exists)"},
    };
    // clang-format on
    std::vector<TickReport> reports;
    TickWatcher watcher([&](const TickReport& report) { reports.push_back(report); });
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row at line " << row.where.line());
        if (row.entry != nullptr)
            entry = row.entry;
        reports.clear();
        RunTick(
            watcher, u"caption", false,
            {{row.radio, row.rule, row.index, row.entry != nullptr ? &entry : nullptr, row.on}});
        ASSERT_EQ(reports.size(), 1u);
        const int r = row.radio == TickRadio::Bluetooth ? 0 : 1;
        EXPECT_TRUE(reports[0].decided[r]);
        EXPECT_EQ(reports[0].Decision(r), row.words);
        EXPECT_EQ(reports[0].decidedOn[r], row.on);
        EXPECT_EQ(reports[0].switching[r], row.rule != KnownOff);
        EXPECT_FALSE(reports[0].decided[1 - r]);
        EXPECT_EQ(reports[0].Decision(1 - r), "");
    }
}

TEST(TickWatcher, TheFirstDecisionOfARadioCounts) {
    const WString first = u"mail";
    const WString second = u"mail2";
    std::vector<TickReport> reports;
    TickWatcher watcher([&](const TickReport& report) { reports.push_back(report); });
    RunTick(watcher, u"mail2", true,
            {{TickRadio::Wifi, TickRule::OnActiveList, 0, &first, true},
             {TickRadio::Wifi, TickRule::OnActiveList, 1, &second, true}});
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].Decision(1), "on-while-active list entry 1 \"mail\"");
}

TEST(TickWatcher, EachTickStartsFromAFreshReport) {
    const WString entry = u"phone";
    std::vector<TickReport> reports;
    TickWatcher watcher([&](const TickReport& report) { reports.push_back(report); });
    watcher.SetExplain(true);
    watcher.OnKeepAlive(4, true);
    watcher.OnTickStart(u"phone", true);
    watcher.OnRuleTried(TickRadio::Bluetooth, TickRule::OffList, 0, entry, true);
    watcher.OnDecision({TickRadio::Bluetooth, TickRule::OffList, 0, &entry, false});
    watcher.OnDecision({TickRadio::Wifi, TickRule::DefaultAction, -1, nullptr, true});
    watcher.OnTickEnd(true);
    // A quiet tick after the busy one: nothing of the busy one may show in its report.
    watcher.OnTickStart(u"phone", false);
    watcher.OnTickEnd(false);
    ASSERT_EQ(reports.size(), 2u);

    const TickReport& busy = reports[0];
    EXPECT_TRUE(busy.changed);
    EXPECT_TRUE(busy.endedEarly);
    EXPECT_TRUE(busy.keepAliveReset);
    EXPECT_EQ(busy.keepAliveCounter, 4);
    EXPECT_EQ(busy.caption, u"phone");
    EXPECT_EQ(busy.tried.size(), 3u);
    EXPECT_EQ(busy.Decision(0), "off list entry 1 \"phone\"");
    EXPECT_EQ(busy.Decision(1), "default action (Turn On)");

    TickFacts fresh;
    const TickReport& quiet = reports[1];
    EXPECT_TRUE(static_cast<const TickFacts&>(quiet) == fresh);
    EXPECT_EQ(quiet.Decision(0), "");
    EXPECT_EQ(quiet.Decision(1), "");
    EXPECT_TRUE(quiet.tried.empty());
    EXPECT_EQ(quiet.keepAliveCounter, 4); // the counter is carried, not reset

    // Reset by hand gives the same: every fact back to a fresh report's value.
    TickReport reset = busy;
    reset.skipped = true;
    reset.Reset();
    EXPECT_TRUE(static_cast<const TickFacts&>(reset) == fresh);
    EXPECT_EQ(reset.caption, u"");
    EXPECT_TRUE(reset.tried.empty());
    EXPECT_EQ(reset.Decision(0), "");
    EXPECT_EQ(reset.keepAliveCounter, 4);
}

TEST(TickWatcher, TheCaptionAndRulesTriedAreKeptOnlyWhenExplaining) {
    const WString entry = u"phone";
    for (const bool explain : {false, true}) {
        SCOPED_TRACE(explain ? "explaining" : "not explaining");
        std::vector<TickReport> reports;
        TickWatcher watcher([&](const TickReport& report) { reports.push_back(report); });
        watcher.SetExplain(explain);
        watcher.OnTickStart(u"phone", true);
        watcher.OnRuleTried(TickRadio::Bluetooth, TickRule::OnActiveList, 0, entry, true);
        watcher.OnDecision({TickRadio::Bluetooth, TickRule::OnActiveList, 0, &entry, true});
        watcher.OnTickEnd(true);
        // An unchanged caption is explained only by `why` (every tick).
        RunTick(watcher, u"phone", false,
                {{TickRadio::Bluetooth, TickRule::OnActiveList, 0, &entry, true}});
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_EQ(reports[0].caption, explain ? u"phone" : u"");
        const std::vector<std::string> tried = {
            "Bluetooth: on-while-active list entry 1 \"phone\" matches",
            "Bluetooth decided: on by on-while-active list entry 1 \"phone\""};
        EXPECT_EQ(reports[0].tried, explain ? tried : std::vector<std::string>{});
        EXPECT_TRUE(reports[1].tried.empty());
        EXPECT_EQ(reports[1].Decision(0), "on-while-active list entry 1 \"phone\"");
    }
}

TEST(TickWatcher, KeepAliveNewsBelongsToItsOwnTick) {
    std::vector<TickReport> reports;
    TickWatcher watcher([&](const TickReport& report) { reports.push_back(report); });
    watcher.OnKeepAlive(0, true); // comes before the caption is read
    RunTick(watcher, u"a", true, {});
    watcher.OnKeepAlive(1, false);
    RunTick(watcher, u"a", false, {});
    RunTick(watcher, u"a", false, {});
    watcher.OnTickSkipped();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_TRUE(reports[0].keepAliveReset);
    EXPECT_EQ(reports[0].keepAliveCounter, 0);
    EXPECT_FALSE(reports[1].keepAliveReset);
    EXPECT_EQ(reports[1].keepAliveCounter, 1);
    EXPECT_FALSE(reports[2].keepAliveReset);
    EXPECT_EQ(reports[2].keepAliveCounter, 1);
    EXPECT_TRUE(reports[3].skipped);
    EXPECT_FALSE(reports[3].keepAliveReset);
    EXPECT_EQ(watcher.Ticks(), 4u);
}

TEST(TickWatcher, ATickRunWhileAReportIsHandledLeavesThatReportAlone) {
    const WString outerEntry = u"headset";
    const WString innerEntry = u"desktop";
    struct Seen {
        std::string decision;
        bool changed = false;
        bool keepAliveReset = false;
    };
    std::vector<Seen> heard;
    Seen outerAfterInner;
    TickWatcher* self = nullptr;
    int depth = 0;
    TickWatcher watcher([&](const TickReport& report) {
        heard.push_back({report.Decision(0), report.changed, report.keepAliveReset});
        if (heard.size() != 1)
            return;
        // While the first report is handled, a whole tick runs (a nested message loop).
        ++depth;
        self->OnKeepAlive(0, true);
        RunTick(*self, u"desktop", true,
                {{TickRadio::Bluetooth, TickRule::OffList, 0, &innerEntry, false}});
        --depth;
        outerAfterInner = {report.Decision(0), report.changed, report.keepAliveReset};
    });
    self = &watcher;
    RunTick(watcher, u"headset", false,
            {{TickRadio::Bluetooth, TickRule::RunningList, 0, &outerEntry, true}});
    // And the watcher goes on as before.
    RunTick(watcher, u"headset", false,
            {{TickRadio::Bluetooth, TickRule::RunningList, 0, &outerEntry, true}});

    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(depth, 0);
    const std::string outerWords = "running list entry 1 \"headset\" (its window exists)";
    EXPECT_EQ(heard[0].decision, outerWords);
    EXPECT_EQ(heard[1].decision, "off list entry 1 \"desktop\"");
    EXPECT_TRUE(heard[1].changed);
    EXPECT_TRUE(heard[1].keepAliveReset);
    EXPECT_EQ(outerAfterInner.decision, outerWords);
    EXPECT_FALSE(outerAfterInner.changed);
    EXPECT_FALSE(outerAfterInner.keepAliveReset);
    EXPECT_EQ(heard[2].decision, outerWords);
    EXPECT_FALSE(heard[2].keepAliveReset);
    EXPECT_EQ(watcher.Ticks(), 3u);
}

} // namespace
