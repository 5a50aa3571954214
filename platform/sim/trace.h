// Record of every platform call: counts always, full records (name, arguments, result)
// only while enabled, so a steady run with the trace off allocates nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/sim/api_types.h"

namespace sim {

// The name of a traced operation. Names are string literals, so their hash is worked out when
// the program is compiled: counting a call on every tick hashes and compares no string.
class TraceName {
  public:
    template <std::size_t N>
    consteval TraceName(const char (&text)[N]) : text_(text, N - 1), id_(Hash(text_)) {}

    std::string_view Text() const { return text_; }
    std::uint64_t Id() const { return id_; }

    // FNV-1a, never 0 (0 marks a free slot of the counts).
    static constexpr std::uint64_t Hash(std::string_view text) {
        std::uint64_t hash = 14695981039346656037ull;
        for (char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        return hash == 0 ? 1 : hash;
    }

  private:
    std::string_view text_;
    std::uint64_t id_;
};

struct TraceCall {
    std::string name;
    std::string args;   // "arg, arg, ..." as formatted by TraceArg
    std::string result; // formatted result; empty for void calls
    int process = 0;
    std::uint64_t time = 0; // virtual milliseconds since boot

    // "Name(args) = result", the form tests compare against.
    std::string Text() const;
};

// Formatting of one argument for the trace.
std::string TraceArg(long long value);
std::string TraceArg(unsigned long long value);
inline std::string TraceArg(int value) {
    return TraceArg(static_cast<long long>(value));
}
inline std::string TraceArg(unsigned value) {
    return TraceArg(static_cast<unsigned long long>(value));
}
// Pointer-sized values (WPARAM, LPARAM, LONG_PTR, UINT_PTR): a number when it fits in 32 bits,
// as every value on the device does; a larger one can only be a host address (a structure or
// string passed by pointer, an object kept in window data) and is named instead (HostPointer).
std::string TraceArg(long value);
std::string TraceArg(unsigned long value);
inline std::string TraceArg(short value) {
    return TraceArg(static_cast<long long>(value));
}
inline std::string TraceArg(unsigned short value) {
    return TraceArg(static_cast<unsigned long long>(value));
}
std::string TraceArg(const WCHAR* text); // quoted UTF-8, or NULL
std::string
TraceArg(const void* pointer); // 0x... (a device handle), a host pointer's name, or NULL
std::string TraceArg(std::nullptr_t);
inline std::string TraceArg(const std::string& text) {
    return text;
}
inline std::string TraceArg(const char* text) {
    return text;
}
// A window message by name and number: "WM_TIMER (0x0113)".
struct MessageArg {
    UINT message;
};
std::string TraceArg(const MessageArg& arg);

class Trace {
  public:
    bool Enabled() const { return enabled_; }
    void Enable(bool on) { enabled_ = on; }

    // Counts the call; records it with its arguments when enabled. The count is inline in the
    // caller and the record a call of its own: most calls are only counted, and the record's
    // strings would otherwise weigh on every caller's entry and exit.
    template <class Result, class... Args>
    void Call(TraceName name, const Result& result, const Args&... args) {
        Bump(name);
        if (enabled_ || listener_)
            Record(name, result, args...);
    }
    template <class... Args> void VoidCall(TraceName name, const Args&... args) {
        Bump(name);
        if (enabled_ || listener_)
            RecordVoid(name, args...);
    }

    // Calls of `name` since boot, by any process, whether or not recording was on.
    std::uint64_t Count(std::string_view name) const;
    const std::vector<TraceCall>& Records() const { return records_; }
    // Records of the named operations only, as "Name(args) = result" texts.
    std::vector<std::string> Texts(const std::vector<std::string_view>& names = {}) const;
    void ClearRecords() { records_.clear(); }

    // Called for every recorded call (kipo-sim --trace prints them as they happen).
    void SetListener(std::function<void(const TraceCall&)> listener) {
        listener_ = std::move(listener);
    }

    // A stable name for a host address, by first appearance ("ptr#1", "ptr#2", ...): two runs
    // of the same scenario make the same calls, so their traces compare equal even though
    // the host places memory elsewhere each time.
    std::string HostPointer(std::uintptr_t address);

    // Set by the device: who is calling, and when.
    void SetContext(int process, std::uint64_t time) {
        process_ = process;
        time_ = time;
    }

  private:
    template <class Result, class... Args>
    [[gnu::noinline]] void Record(TraceName name, const Result& result, const Args&... args) {
        std::string joined;
        ((joined += (joined.empty() ? "" : ", ") + TraceArg(args)), ...);
        Store(name.Text(), std::move(joined), TraceArg(result));
    }
    template <class... Args>
    [[gnu::noinline]] void RecordVoid(TraceName name, const Args&... args) {
        std::string joined;
        ((joined += (joined.empty() ? "" : ", ") + TraceArg(args)), ...);
        Store(name.Text(), std::move(joined), std::string());
    }

    // Calls of one operation, in an open-addressed table keyed by the name's hash.
    struct Counter {
        std::uint64_t id = 0; // 0: a free slot
        std::uint64_t count = 0;
    };
    void Bump(TraceName name) {
        for (std::size_t i = name.Id() & (counts_.size() - 1);;
             i = (i + 1) & (counts_.size() - 1)) {
            Counter& counter = counts_[i];
            if (counter.id == name.Id()) {
                ++counter.count;
                return;
            }
            if (counter.id == 0)
                return AddCounter(name.Id());
        }
    }
    void AddCounter(std::uint64_t id);
    // The slot of `id`: its counter, or the free slot where it would go.
    std::size_t Slot(std::uint64_t id) const;
    void Store(std::string_view name, std::string args, std::string result);

    bool enabled_ = false;
    std::vector<Counter> counts_ = std::vector<Counter>(256);
    std::size_t used_ = 0;
    std::vector<TraceCall> records_;
    std::function<void(const TraceCall&)> listener_;
    int process_ = 0;
    std::uint64_t time_ = 0;
    std::unordered_map<std::uintptr_t, std::uint64_t> pointerNames_;
    std::uint64_t nextPointer_ = 1;
};

} // namespace sim
