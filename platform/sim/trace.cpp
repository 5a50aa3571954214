#include "platform/sim/trace.h"

#include <cstdio>

#include "platform/platform.h"

namespace sim {

std::string TraceCall::Text() const {
    std::string text = name + "(" + args + ")";
    if (!result.empty())
        text += " = " + result;
    return text;
}

std::string TraceArg(long long value) {
    return std::to_string(value);
}
std::string TraceArg(unsigned long long value) {
    return std::to_string(value);
}
std::string TraceArg(std::nullptr_t) {
    return "NULL";
}

std::string TraceArg(const WCHAR* text) {
    if (text == nullptr)
        return "NULL";
    if (IS_INTRESOURCE(text))
        return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(text));
    WString copy;
    // Long captions are shortened so a trace line stays readable.
    for (const WCHAR* p = text; *p != 0 && copy.size() < 200; ++p)
        copy.push_back(*p);
    std::string utf8 = ToUtf8(copy);
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"')
            quoted += "\\\"";
        else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(c));
            quoted += buf;
        } else
            quoted += c;
    }
    return quoted + "\"";
}

std::string TraceArg(const void* pointer) {
    if (pointer == nullptr)
        return "NULL";
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(pointer)));
    return buf;
}

void Trace::AddCounter(std::uint64_t id) {
    // Kept at most half full, so a look-up ends soon at its counter or a free slot.
    if (2 * (used_ + 1) > counts_.size()) {
        std::vector<Counter> old(2 * counts_.size());
        old.swap(counts_);
        for (const Counter& counter : old)
            if (counter.id != 0)
                counts_[Slot(counter.id)] = counter;
    }
    counts_[Slot(id)] = Counter{id, 1};
    ++used_;
}

std::size_t Trace::Slot(std::uint64_t id) const {
    std::size_t i = id & (counts_.size() - 1);
    while (counts_[i].id != id && counts_[i].id != 0)
        i = (i + 1) & (counts_.size() - 1);
    return i;
}

std::uint64_t Trace::Count(std::string_view name) const {
    const Counter& counter = counts_[Slot(TraceName::Hash(name))];
    return counter.id == 0 ? 0 : counter.count;
}

void Trace::Store(std::string_view name, std::string args, std::string result) {
    TraceCall call{std::string(name), std::move(args), std::move(result), process_, time_};
    if (listener_)
        listener_(call);
    if (enabled_)
        records_.push_back(std::move(call));
}

std::vector<std::string> Trace::Texts(const std::vector<std::string_view>& names) const {
    std::vector<std::string> texts;
    for (const TraceCall& call : records_) {
        bool wanted = names.empty();
        for (std::string_view n : names)
            wanted = wanted || call.name == n;
        if (wanted)
            texts.push_back(call.Text());
    }
    return texts;
}

} // namespace sim
