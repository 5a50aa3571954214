#include "tools/kipo-sim/call_log.h"

namespace kiposim {

namespace {

bool ByWho(const LoggedCall& call, std::optional<Caller> who) {
    return !who || call.caller == *who;
}

} // namespace

void CallLog::Add(LoggedCall call) {
    const int who = static_cast<int>(call.caller);
    for (Counts* counts : {&sinceBoot_, &sinceMark_}) {
        auto it = counts->find(call.name);
        if (it == counts->end())
            it = counts->emplace(call.name, std::array<std::uint64_t, kCallers>{}).first;
        ++it->second[static_cast<std::size_t>(who)];
    }
    if (!keepRecords_)
        return;
    if (records_.size() >= kMaxRecords) {
        ++dropped_;
        return;
    }
    records_.push_back(std::move(call));
}

void CallLog::Mark() {
    sinceMark_.clear();
    records_.clear();
    cursor_ = 0;
    dropped_ = 0;
}

std::uint64_t CallLog::Sum(const Counts& counts, std::string_view name, std::optional<Caller> who) {
    auto it = counts.find(name);
    if (it == counts.end())
        return 0;
    if (who)
        return it->second[static_cast<std::size_t>(*who)];
    std::uint64_t total = 0;
    for (std::uint64_t n : it->second)
        total += n;
    return total;
}

std::uint64_t CallLog::Count(std::string_view name, std::optional<Caller> who,
                             bool sinceMark) const {
    return Sum(sinceMark ? sinceMark_ : sinceBoot_, name, who);
}

const LoggedCall* CallLog::Next(const CallPattern& pattern, std::optional<Caller> who) {
    for (std::size_t i = cursor_; i < records_.size(); ++i) {
        const LoggedCall& call = records_[i];
        if (ByWho(call, who) && pattern.Matches(call.name, call.args, call.labels, call.result)) {
            cursor_ = i + 1;
            return &call;
        }
    }
    return nullptr;
}

const LoggedCall* CallLog::First(const CallPattern& pattern, std::optional<Caller> who) const {
    for (const LoggedCall& call : records_)
        if (ByWho(call, who) && pattern.Matches(call.name, call.args, call.labels, call.result))
            return &call;
    return nullptr;
}

std::vector<const LoggedCall*> CallLog::After(std::size_t max) const {
    std::vector<const LoggedCall*> out;
    for (std::size_t i = cursor_; i < records_.size() && out.size() < max; ++i)
        out.push_back(&records_[i]);
    return out;
}

const char* CallerName(Caller who) {
    switch (who) {
    case Caller::Kipo:
        return "Kipo";
    case Caller::Widcomm:
        return "Widcomm";
    case Caller::Others:
        break;
    }
    return "others";
}

std::string CallText(const LoggedCall& call) {
    std::string text = call.name + "(";
    for (std::size_t i = 0; i < call.args.size(); ++i)
        text += (i == 0 ? "" : ", ") + call.args[i];
    text += ")";
    if (!call.result.empty())
        text += " = " + call.result;
    return text;
}

} // namespace kiposim
