// What kipo-sim heard of one run of the program's monitor tick: whether the caption was new,
// which rule decided each radio and, when explaining, every rule tried.
#pragma once

#include <string>
#include <vector>

#include "engine/decision_observer.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/same_units.h"

namespace kiposim {

// The plain facts of one tick. Each tick starts from these values, so they are written once,
// here, and a new per-tick fact belongs here too.
struct TickFacts {
    bool changed = false;
    bool skipped = false; // the frame was busy: nothing was evaluated
    bool endedEarly = false;
    bool keepAliveReset = false;
    bool decided[kRadios] = {}; // a rule decided the radio
    bool decidedOn[kRadios] = {};
    // The deciding rule called a radio operation (every rule but "known off" does).
    bool switching[kRadios] = {};

    bool operator==(const TickFacts&) const = default;
};

struct TickReport : TickFacts {
    // The lower-cased caption the tick saw. Kept only when explaining: nothing else reads it,
    // and copying it on every tick would cost more than the rest of the report.
    WString caption;
    // The keep-alive counter after the last keep-alive step heard so far.
    LONG keepAliveCounter = 0;
    // Every rule tried, in order, in words (only when explaining).
    std::vector<std::string> tried;

    // The rule that decided a radio this tick, in words; empty when none did.
    const std::string& Decision(int radio) const;

    // Back to a fresh report's facts, with no caption and no rule tried. The keep-alive
    // counter, the buffers' capacity and the words of the last decisions stay.
    void Reset() {
        static_cast<TickFacts&>(*this) = TickFacts();
        caption.clear();
        tried.clear();
    }

  private:
    friend class TickWatcher;
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

        // Whether `text` says `decision`. The entry is compared by its units, never by where
        // it lives: the program may rewrite a list in place.
        bool Say(const TickDecision& decision) const {
            const bool given = decision.entry != nullptr;
            return valid && rule == decision.rule && index == decision.index && on == decision.on &&
                   hasEntry == given && (!given || SameUnits(entry, *decision.entry));
        }
    };
    DecisionWords words_[kRadios];
};

} // namespace kiposim
