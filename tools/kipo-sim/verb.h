// The scenario language's verbs. Each is one entry: its name, how its arguments parse, what
// it does to the device (or, for a check, what it looks at), whether the user's hand is on
// the device, and how the timeline shows it. A new step is a new entry in one of the tables
// (verbs_*.cpp); nothing else needs to know it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kipo-sim/scenario.h"

namespace kiposim {

namespace parse {
class Cursor;
}
class Stage;

enum class VerbGroup {
    SetUp,    // shapes the device before the program starts
    Registry, // registry edits: may stand anywhere
    Start,    // starts the program
    Wait,     // lets time pass
    Action,   // done to the device while it runs
    Check,    // `expect ...`
};

struct Verb {
    const char* name; // as written: "open-behind", "press up", "expect bt"
    VerbGroup group;
    // The user touches the device: the step restarts its idle countdown.
    bool userAction;
    // Reads the arguments after the name into the step; fails through the cursor.
    void (*parse)(parse::Cursor& c, Step& step);
    // Does the step (or checks it): empty when it applied (held), else what went wrong (what
    // was found instead). Null for start and wait, which the runner schedules itself.
    std::string (*run)(Stage& stage, const Step& step);
    // The timeline's line for the step; null or empty when its effect shows anyway.
    std::string (*action)(const Step& step);
    // Why a radio that switches right after the step switched ("hand"); null: the device.
    const char* radioReason = nullptr;
};

std::span<const Verb> SetUpVerbs();
std::span<const Verb> DeviceVerbs();
std::span<const Verb> CheckVerbs();
std::span<const Verb> StateVerbs();
std::span<const Verb> FaultVerbs();

// The verb written as `name` ("expect bt"), or null.
const Verb* FindVerb(std::string_view name);
// Every verb name, for suggestions.
std::vector<std::string> VerbNames();

} // namespace kiposim
