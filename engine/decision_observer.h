// A listener for the monitor tick: it hears which rule decided each radio, or that a default
// action or nothing applied, and changes nothing. kipo-sim and tests use it to explain a
// switch. A frame without an observer pays one null test per hook.
#pragma once

#include "platform/text.h"

enum class TickRadio { Bluetooth, Wifi };

enum class TickRule {
    OffList,       // an off list entry the caption begins with
    RunningList,   // a running list entry whose window exists
    OnActiveList,  // an on-while-active entry the caption begins with
    DefaultAction, // no list decided; the radio's default action applied
    KnownOff,      // caption unchanged, off lists first, radio known off: nothing to do
};

struct TickDecision {
    TickRadio radio;
    TickRule rule;
    int index;            // entry index in its list; -1 for a default action or known off
    const WString* entry; // the entry, or null; valid during the call only
    bool on;              // the radio is turned (or stays) on
};

class CDecisionObserver {
  public:
    virtual ~CDecisionObserver() = default;

    // A timer message arrived while the frame was busy: nothing was evaluated.
    virtual void OnTickSkipped() {}
    // The keep-alive counter after this tick's step; `reset` when the idle timer was reset.
    virtual void OnKeepAlive(LONG /*counter*/, bool /*reset*/) {}
    // The lower-cased foreground caption and whether it differs from the last one.
    virtual void OnTickStart(const WString& /*caption*/, bool /*changed*/) {}
    // One entry of a list was tested against the caption or the window list.
    virtual void OnRuleTried(TickRadio /*radio*/, TickRule /*list*/, int /*index*/,
                             const WString& /*entry*/, bool /*matched*/) {}
    // A radio was decided (the radio operation has been called when one applies).
    virtual void OnDecision(const TickDecision& /*decision*/) {}
    // The tick is over; `endedEarly` when a Bluetooth on-while-active entry cut it short.
    virtual void OnTickEnd(bool /*endedEarly*/) {}
};
