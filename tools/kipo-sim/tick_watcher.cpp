#include "tools/kipo-sim/tick_watcher.h"

#include <utility>

namespace kiposim {

namespace {

int RadioIndex(TickRadio radio) {
    return radio == TickRadio::Bluetooth ? 0 : 1;
}

} // namespace

const char* TickWatcher::ListName(TickRule rule) {
    switch (rule) {
    case TickRule::OffList:
        return "off list";
    case TickRule::RunningList:
        return "running list";
    case TickRule::OnActiveList:
        return "on-while-active list";
    case TickRule::DefaultAction:
        return "default action";
    case TickRule::KnownOff:
        return "known off";
    }
    return "?";
}

std::string TickWatcher::RuleText(TickRule rule, int index, const WString* entry, bool on) {
    switch (rule) {
    case TickRule::DefaultAction:
        return std::string("default action (") + (on ? "Turn On" : "Turn Off") + ")";
    case TickRule::KnownOff:
        return "known off, caption unchanged (off lists first)";
    default:
        break;
    }
    std::string text = std::string(ListName(rule)) + " entry " + std::to_string(index + 1);
    if (entry != nullptr)
        text += " " + QuoteCaption(*entry, 60);
    if (rule == TickRule::RunningList)
        text += " (its window exists)";
    return text;
}

std::string TickWatcher::UndecidedText(int radio, LONG defaultAction, bool changed,
                                       bool endedEarly) {
    if (radio == 1 && endedEarly)
        return "not evaluated: the tick ended early";
    if (!changed)
        return "no rule decided; the caption is unchanged, so only the running list counts";
    // Actions 1 and 2 decide, so only "leave" and unknown values come here.
    return "no rule decided; default action " +
           (defaultAction == 0 ? std::string("Leave")
                               : std::to_string(defaultAction) + ", which leaves it");
}

void TickWatcher::OnTickSkipped() {
    ++ticks_;
    TickReport report;
    report.skipped = true;
    report.keepAliveCounter = keepAliveCounter_;
    onTickEnd_(report);
}

void TickWatcher::OnKeepAlive(LONG counter, bool reset) {
    keepAliveCounter_ = counter;
    // The keep-alive step comes before the caption is read, so its news waits in the report.
    if (reset)
        Building().keepAliveReset = true;
}

void TickWatcher::OnTickStart(const WString& caption, bool changed) {
    TickReport& report = Building();
    report.changed = changed;
    if (explain_)
        report.caption = caption;
}

void TickWatcher::OnRuleTried(TickRadio radio, TickRule list, int index, const WString& entry,
                              bool matched) {
    if (!explain_)
        return;
    TickReport& report = Building();
    if (!(report.changed || explainEveryTick_))
        return;
    report.tried.push_back(std::string(radio == TickRadio::Bluetooth ? "Bluetooth" : "WiFi") +
                           ": " + ListName(list) + " entry " + std::to_string(index + 1) + " " +
                           QuoteCaption(entry, 60) + (matched ? " matches" : " no"));
}

void TickWatcher::OnDecision(const TickDecision& decision) {
    TickReport& report = Building();
    const int r = RadioIndex(decision.radio);
    // The first decision of a radio is the one that counts (WiFi's on-while-active list may
    // report several matching entries).
    if (!report.decided[r]) {
        if (!report.words_[r].Say(decision))
            Words(report, r, decision);
        report.decided[r] = true;
        report.decidedOn[r] = decision.on;
        report.switching[r] = decision.rule != TickRule::KnownOff;
    }
    if (explain_ && (report.changed || explainEveryTick_))
        report.tried.push_back(
            std::string(r == 0 ? "Bluetooth" : "WiFi") +
            " decided: " + (decision.on ? "on" : "off") + " by " +
            RuleText(decision.rule, decision.index, decision.entry, decision.on));
}

void TickWatcher::Words(TickReport& report, int radio, const TickDecision& decision) {
    TickReport::DecisionWords& words = report.words_[radio];
    words.valid = true;
    words.rule = decision.rule;
    words.index = decision.index;
    words.on = decision.on;
    words.hasEntry = decision.entry != nullptr;
    if (words.hasEntry)
        words.entry = *decision.entry;
    words.text = RuleText(decision.rule, decision.index, decision.entry, decision.on);
}

void TickWatcher::OnTickEnd(bool endedEarly) {
    ++ticks_;
    if (delivering_) {
        // A tick that ends while the last one is being handled gets a report of its own.
        TickReport report = std::exchange(nested_, TickReport());
        report.endedEarly = endedEarly;
        report.keepAliveCounter = keepAliveCounter_;
        onTickEnd_(report);
        return;
    }
    current_.endedEarly = endedEarly;
    current_.keepAliveCounter = keepAliveCounter_;
    delivering_ = true;
    onTickEnd_(current_);
    delivering_ = false;
    current_.Reset();
}

} // namespace kiposim
