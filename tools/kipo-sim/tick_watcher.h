// Listens to the program's monitor tick (as its decision observer) and hands each finished
// tick to the runner: which rule decided each radio and, for --explain, every rule tried.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/decision_observer.h"
#include "tools/kipo-sim/run_log.h"

namespace kiposim {

struct TickReport {
    WString caption; // lower-cased, as the tick saw it
    bool changed = false;
    bool skipped = false; // the frame was busy: nothing was evaluated
    bool endedEarly = false;
    bool keepAliveReset = false;
    LONG keepAliveCounter = 0;
    // The rule that decided each radio this tick, in words; empty when none did.
    std::string decision[kRadios];
    bool decidedOn[kRadios] = {};
    // The deciding rule called a radio operation (every rule but "known off" does).
    bool switching[kRadios] = {};
    // Every rule tried, in order, in words (only when explaining).
    std::vector<std::string> tried;

    // Empties it for the next tick, keeping the keep-alive counter and the strings' capacity.
    void Reset();
};

class TickWatcher : public CDecisionObserver {
  public:
    explicit TickWatcher(std::function<void(const TickReport&)> onTickEnd)
        : onTickEnd_(std::move(onTickEnd)) {}

    void SetExplain(bool explain) { explain_ = explain; }
    // Also the rules tried on ticks whose caption did not change (kipo-sim why).
    void SetExplainEveryTick(bool every) { explainEveryTick_ = every; }
    // Runs of the check timer seen so far (skipped ones included).
    std::uint64_t Ticks() const { return ticks_; }

    void OnTickSkipped() override;
    void OnKeepAlive(LONG counter, bool reset) override;
    void OnTickStart(const WString& caption, bool changed) override;
    void OnRuleTried(TickRadio radio, TickRule list, int index, const WString& entry,
                     bool matched) override;
    void OnDecision(const TickDecision& decision) override;
    void OnTickEnd(bool endedEarly) override;

    // "on-while-active list entry 2 "inbox"" and the like.
    static std::string RuleText(TickRule rule, int index, const WString* entry, bool on);
    static const char* ListName(TickRule rule);
    // Why a radio was left alone by a tick, given the radio's default action.
    static std::string UndecidedText(int radio, LONG defaultAction, bool changed, bool endedEarly);

  private:
    // The words of the last decision of a radio, kept with what they say: most ticks decide
    // as the one before, and their words need not be put together again.
    struct DecisionWords {
        bool valid = false;
        TickRule rule = TickRule::DefaultAction;
        int index = 0;
        bool on = false;
        bool hasEntry = false;
        WString entry;
        std::string text;
    };
    const std::string& WordsOf(int radio, const TickDecision& decision);

    std::function<void(const TickReport&)> onTickEnd_;
    bool explain_ = false;
    bool explainEveryTick_ = false;
    std::uint64_t ticks_ = 0;
    TickReport current_;
    // The report being handed over; it and current_ take turns, so neither gives up its
    // strings' capacity from tick to tick.
    TickReport delivered_;
    bool delivering_ = false;
    DecisionWords words_[kRadios];
    bool inTick_ = false;
};

} // namespace kiposim
