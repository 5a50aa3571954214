#include "tools/kipo-sim/run_log.h"

#include <cstdio>

namespace kiposim {

const char* RadioName(Radio radio) {
    return radio == Radio::Bluetooth ? "Bluetooth" : "WiFi";
}

void RunLog::Begin(const std::optional<WString>& caption, bool btOn, bool wifiOn) {
    captions_.clear();
    Caption(0, caption);
    initial_[0] = btOn;
    initial_[1] = wifiOn;
}

void RunLog::Caption(std::uint64_t time, const std::optional<WString>& caption) {
    if (!captions_.empty()) {
        CaptionBand& last = captions_.back();
        if (last.none == !caption.has_value() && (!caption || last.caption == *caption))
            return;
        last.end = time;
        // A caption that lasted no time leaves no band.
        if (last.start == time)
            captions_.pop_back();
    }
    CaptionBand band;
    band.start = time;
    band.end = time;
    band.none = !caption.has_value();
    if (caption)
        band.caption = *caption;
    captions_.push_back(std::move(band));
}

void RunLog::Switch(Radio radio, std::uint64_t time, bool on, bool byProgram, std::string reason) {
    switches_[static_cast<int>(radio)].push_back({time, on, byProgram, std::move(reason)});
}

void RunLog::Tick(std::uint64_t time) {
    ++tickCount_;
    if (keepTicks_)
        ticks_.push_back(time);
}

void RunLog::End(std::uint64_t time) {
    end_ = time;
    if (!captions_.empty())
        captions_.back().end = time;
}

std::vector<RadioSegment> RunLog::Segments(Radio radio) const {
    std::vector<RadioSegment> out;
    RadioSegment current{0, 0, initial_[static_cast<int>(radio)]};
    for (const RadioSwitch& s : Switches(radio)) {
        // Only the run counts: a switch after its end (as the program shuts down) is not in it.
        if (s.on == current.on || s.time > end_)
            continue;
        current.end = s.time;
        if (current.end > current.start)
            out.push_back(current);
        current = {s.time, s.time, s.on};
    }
    current.end = end_ > current.start ? end_ : current.start;
    if (current.end > current.start || out.empty())
        out.push_back(current);
    return out;
}

std::uint64_t RunLog::TimeOn(Radio radio) const {
    std::uint64_t total = 0;
    for (const RadioSegment& s : Segments(radio))
        if (s.on)
            total += s.end - s.start;
    return total;
}

std::string FormatTime(std::uint64_t ms) {
    const auto part = [](std::uint64_t v) { return static_cast<unsigned long long>(v); };
    const std::uint64_t seconds = ms / 1000 % 60, minutes = ms / 60000 % 60;
    const std::uint64_t hours = ms / 3600000 % 24, days = ms / 86400000;
    char buf[64];
    if (ms < 3600000)
        std::snprintf(buf, sizeof buf, "%llu:%02llu.%03llu", part(ms / 60000), part(seconds),
                      part(ms % 1000));
    else if (days == 0)
        std::snprintf(buf, sizeof buf, "%llu:%02llu:%02llu.%03llu", part(hours), part(minutes),
                      part(seconds), part(ms % 1000));
    else
        std::snprintf(buf, sizeof buf, "%llud %02llu:%02llu:%02llu.%03llu", part(days), part(hours),
                      part(minutes), part(seconds), part(ms % 1000));
    return buf;
}

std::string FormatShare(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0)
        return "0%";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%",
                  100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return buf;
}

std::string QuoteCaption(const WString& caption, std::size_t maxUnits) {
    WString shown = caption.substr(0, maxUnits);
    std::string out = "\"";
    for (char c : ToUtf8(shown)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    out += "\"";
    if (caption.size() > maxUnits)
        out += " (" + std::to_string(caption.size()) + " characters)";
    return out;
}

} // namespace kiposim
