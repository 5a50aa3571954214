// The platform calls a scenario's call checks look at: counts by operation and by program
// since boot and since the last `mark`, and, when a check needs them, the calls themselves
// with their arguments in order since the mark.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/kipo-sim/call_pattern.h"

namespace kiposim {

// Who made a call: Kipo (any instance), the Widcomm stack's own program, or anyone else
// (the shell, other programs).
enum class Caller { Kipo, Widcomm, Others };
constexpr int kCallers = 3;

struct LoggedCall {
    std::string name;
    std::vector<std::string> args;
    std::vector<HandleLabel> labels; // per argument: the window it named, if one of Kipo's
    std::string result;
    Caller caller = Caller::Others;
    std::uint64_t time = 0;
};

class CallLog {
  public:
    // A day of ticks makes some hundred thousand calls; past this many since the mark the
    // ordered checks refuse rather than eat memory (a nearer `mark` helps).
    static constexpr std::size_t kMaxRecords = 2'000'000;

    void KeepRecords(bool keep) { keepRecords_ = keep; }
    void Add(LoggedCall call);
    // Forgets the calls so far: counts since the mark and the ordered checks start here.
    void Mark();

    // Calls of `name` by `who` (any program when empty), since boot or since the mark.
    std::uint64_t Count(std::string_view name, std::optional<Caller> who, bool sinceMark) const;

    // The first call matching `pattern` after the previous ordered match (or the mark); on
    // a match the next ordered check looks only after it.
    const LoggedCall* Next(const CallPattern& pattern, std::optional<Caller> who);
    // The first call since the mark that matches, or null.
    const LoggedCall* First(const CallPattern& pattern, std::optional<Caller> who) const;
    // Calls since the mark that the ordered checks can no longer see (past the limit).
    std::uint64_t Dropped() const { return dropped_; }
    // Recorded calls after the ordered checks' position, for "found instead" messages.
    std::vector<const LoggedCall*> After(std::size_t max) const;

  private:
    using Counts = std::map<std::string, std::array<std::uint64_t, kCallers>, std::less<>>;
    static std::uint64_t Sum(const Counts& counts, std::string_view name,
                             std::optional<Caller> who);

    bool keepRecords_ = false;
    Counts sinceBoot_;
    Counts sinceMark_;
    std::vector<LoggedCall> records_;
    std::size_t cursor_ = 0; // where the next ordered check starts looking
    std::uint64_t dropped_ = 0;
};

// "Kipo", "Widcomm", "others" as the scenario writes them (lower case there).
const char* CallerName(Caller who);
// "SetTimer(0x10018, 1, 1500, NULL) = 1".
std::string CallText(const LoggedCall& call);

} // namespace kiposim
