// Record of every platform call: counts always, full records (name, arguments, result)
// only while enabled, so a steady run with the trace off allocates nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/sim/api_types.h"

namespace sim {

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

    // Counts the call; records it with its arguments when enabled.
    template <class Result, class... Args>
    void Call(std::string_view name, const Result& result, const Args&... args) {
        Bump(name);
        if (!enabled_ && !listener_)
            return;
        std::string joined;
        ((joined += (joined.empty() ? "" : ", ") + TraceArg(args)), ...);
        Store(name, std::move(joined), TraceArg(result));
    }
    template <class... Args> void VoidCall(std::string_view name, const Args&... args) {
        Bump(name);
        if (!enabled_ && !listener_)
            return;
        std::string joined;
        ((joined += (joined.empty() ? "" : ", ") + TraceArg(args)), ...);
        Store(name, std::move(joined), std::string());
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
    void Bump(std::string_view name);
    void Store(std::string_view name, std::string args, std::string result);

    bool enabled_ = false;
    std::map<std::string, std::uint64_t, std::less<>> counts_;
    std::vector<TraceCall> records_;
    std::function<void(const TraceCall&)> listener_;
    int process_ = 0;
    std::uint64_t time_ = 0;
    std::unordered_map<std::uintptr_t, std::uint64_t> pointerNames_;
    std::uint64_t nextPointer_ = 1;
};

} // namespace sim
