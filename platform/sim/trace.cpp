#include "platform/sim/trace.h"

#include <cstdio>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "platform/sim/message_names.h"

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

namespace {

constexpr std::uint64_t k32Bits = 0x100000000ull;

std::string PointerName(std::uintptr_t address) {
    return Device::Current().trace.HostPointer(address);
}

} // namespace

std::string TraceArg(long value) {
    const long long v = value;
    if (v >= -static_cast<long long>(k32Bits / 2) && v < static_cast<long long>(k32Bits))
        return std::to_string(v);
    return PointerName(static_cast<std::uintptr_t>(value));
}

std::string TraceArg(unsigned long value) {
    if (value < k32Bits)
        return std::to_string(value);
    return PointerName(static_cast<std::uintptr_t>(value));
}

std::string TraceArg(const MessageArg& arg) {
    return MessageName(arg.message);
}

std::string Trace::HostPointer(std::uintptr_t address) {
    // A long run with --trace may meet ever new addresses: start the names again rather than
    // grow without end (still the same in two runs).
    if (pointerNames_.size() >= 65536) {
        pointerNames_.clear();
        nextPointer_ = 1;
    }
    auto [it, added] = pointerNames_.try_emplace(address, nextPointer_);
    if (added)
        ++nextPointer_;
    return "ptr#" + std::to_string(it->second);
}

std::string TraceArg(const void* pointer) {
    if (pointer == nullptr)
        return "NULL";
    const auto address = reinterpret_cast<std::uintptr_t>(pointer);
    if (address >= k32Bits)
        return PointerName(address);
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
