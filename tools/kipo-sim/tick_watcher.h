// Listens to the program's monitor tick (as its decision observer) and hands each finished
// tick to the runner: which rule decided each radio and, for --explain, every rule tried.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/decision_observer.h"
#include "tools/kipo-sim/tick_report.h"

namespace kiposim {

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
    // The report the hooks fill: the tick's own, or while that one is being handed over, the
    // report of a tick that runs meanwhile (a nested message loop).
    TickReport& Building() { return delivering_ ? nested_ : current_; }
    // Puts `decision` into words, kept in the report until a decision says otherwise.
    static void Words(TickReport& report, int radio, const TickDecision& decision);

    std::function<void(const TickReport&)> onTickEnd_;
    bool explain_ = false;
    bool explainEveryTick_ = false;
    std::uint64_t ticks_ = 0;
    LONG keepAliveCounter_ = 0;
    // Handed over as it is, by reference, and reset afterwards: it keeps its buffers and its
    // decision words from tick to tick.
    TickReport current_;
    TickReport nested_;
    bool delivering_ = false;
};

} // namespace kiposim
