#include "tools/kipo-sim/tick_watcher.h"

namespace kiposim {

namespace {

int RadioIndex(TickRadio radio) {
    return radio == TickRadio::Bluetooth ? 0 : 1;
}

} // namespace

void TickReport::Reset() {
    caption.clear();
    changed = false;
    skipped = false;
    endedEarly = false;
    keepAliveReset = false;
    for (int r = 0; r < kRadios; ++r) {
        decision[r].clear();
        decidedOn[r] = false;
        switching[r] = false;
    }
    tried.clear();
}

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
    onTickEnd_(report);
}

void TickWatcher::OnKeepAlive(LONG counter, bool reset) {
    current_.keepAliveCounter = counter;
    current_.keepAliveReset = current_.keepAliveReset || reset;
}

void TickWatcher::OnTickStart(const WString& caption, bool changed) {
    // The keep-alive step comes before the caption is read, so its news is kept.
    const bool reset = current_.keepAliveReset;
    current_.Reset();
    current_.keepAliveReset = reset;
    current_.caption = caption;
    current_.changed = changed;
    inTick_ = true;
}

void TickWatcher::OnRuleTried(TickRadio radio, TickRule list, int index, const WString& entry,
                              bool matched) {
    if (!explain_ || !(current_.changed || explainEveryTick_))
        return;
    current_.tried.push_back(std::string(radio == TickRadio::Bluetooth ? "Bluetooth" : "WiFi") +
                             ": " + ListName(list) + " entry " + std::to_string(index + 1) + " " +
                             QuoteCaption(entry, 60) + (matched ? " matches" : " no"));
}

void TickWatcher::OnDecision(const TickDecision& decision) {
    const int r = RadioIndex(decision.radio);
    // The first decision of a radio is the one that counts (WiFi's on-while-active list may
    // report several matching entries).
    if (current_.decision[r].empty()) {
        current_.decision[r] = WordsOf(r, decision);
        current_.decidedOn[r] = decision.on;
        current_.switching[r] = decision.rule != TickRule::KnownOff;
    }
    if (explain_ && (current_.changed || explainEveryTick_))
        current_.tried.push_back(
            std::string(r == 0 ? "Bluetooth" : "WiFi") +
            " decided: " + (decision.on ? "on" : "off") + " by " +
            RuleText(decision.rule, decision.index, decision.entry, decision.on));
}

const std::string& TickWatcher::WordsOf(int radio, const TickDecision& decision) {
    DecisionWords& words = words_[radio];
    const bool hasEntry = decision.entry != nullptr;
    if (!words.valid || words.rule != decision.rule || words.index != decision.index ||
        words.on != decision.on || words.hasEntry != hasEntry ||
        (hasEntry && words.entry != *decision.entry)) {
        words.valid = true;
        words.rule = decision.rule;
        words.index = decision.index;
        words.on = decision.on;
        words.hasEntry = hasEntry;
        if (hasEntry)
            words.entry = *decision.entry;
        words.text = RuleText(decision.rule, decision.index, decision.entry, decision.on);
    }
    return words.text;
}

void TickWatcher::OnTickEnd(bool endedEarly) {
    ++ticks_;
    current_.endedEarly = endedEarly;
    inTick_ = false;
    if (delivering_) {
        // A tick that ends while the last one is being handled (a nested message loop)
        // gets a report of its own.
        TickReport report = std::move(current_);
        current_ = TickReport();
        current_.keepAliveCounter = report.keepAliveCounter;
        onTickEnd_(report);
        return;
    }
    std::swap(delivered_, current_);
    current_.Reset();
    current_.keepAliveCounter = delivered_.keepAliveCounter;
    delivering_ = true;
    onTickEnd_(delivered_);
    delivering_ = false;
}

} // namespace kiposim
