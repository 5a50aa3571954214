// What happened during a run, kept for the summary and the chart: the foreground caption over
// time, each radio's on/off history with who switched it, the check timer's runs and the
// idle-timer resets. Timeline lines are printed as they happen (see Timeline); this keeps
// only what the end of the run needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace kiposim {

enum class Radio { Bluetooth, Wifi };
constexpr int kRadios = 2;
const char* RadioName(Radio radio);

struct CaptionBand {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    bool none = false; // no foreground window
    WString caption;
};

struct RadioSegment {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    bool on = false;
};

struct RadioSwitch {
    std::uint64_t time = 0;
    bool on = false;
    bool byProgram = false; // false: by hand, or by the device itself
    std::string reason;
};

class RunLog {
  public:
    // The state at boot (time 0).
    void Begin(const std::optional<WString>& caption, bool btOn, bool wifiOn);

    void Caption(std::uint64_t time, const std::optional<WString>& caption);
    void Switch(Radio radio, std::uint64_t time, bool on, bool byProgram, std::string reason);
    // Keeping every tick and idle-timer reset costs 8 bytes each, without end in a long run;
    // only the chart needs them.
    void KeepTicks(bool keep) { keepTicks_ = keep; }
    void Tick(std::uint64_t time);
    void IdleReset(std::uint64_t time) {
        if (keepTicks_)
            idleResets_.push_back(time);
    }
    void End(std::uint64_t time);

    std::uint64_t EndTime() const { return end_; }
    std::uint64_t TickCount() const { return tickCount_; }
    const std::vector<std::uint64_t>& Ticks() const { return ticks_; }
    const std::vector<std::uint64_t>& IdleResets() const { return idleResets_; }
    const std::vector<CaptionBand>& Captions() const { return captions_; }
    const std::vector<RadioSwitch>& Switches(Radio radio) const {
        return switches_[static_cast<int>(radio)];
    }
    // On/off intervals covering the whole run, from 0 to the end.
    std::vector<RadioSegment> Segments(Radio radio) const;
    // Milliseconds the radio was on during the run.
    std::uint64_t TimeOn(Radio radio) const;

  private:
    std::vector<CaptionBand> captions_;
    std::vector<RadioSwitch> switches_[kRadios];
    bool initial_[kRadios] = {};
    bool keepTicks_ = false;
    std::uint64_t tickCount_ = 0;
    std::vector<std::uint64_t> ticks_;
    std::vector<std::uint64_t> idleResets_;
    std::uint64_t end_ = 0;
};

// Simulated time as a clock shows it: "M:SS.mmm" under an hour, "H:MM:SS.mmm" under a day,
// and "Nd HH:MM:SS.mmm" from a day on (three days, four hours and five seconds:
// "3d 04:00:05.000").
std::string FormatTime(std::uint64_t ms);
// "12.5%" of `whole` (0% when the run took no time).
std::string FormatShare(std::uint64_t part, std::uint64_t whole);
// A caption for a message: in double quotes, control characters escaped, long ones shortened.
std::string QuoteCaption(const WString& caption, std::size_t maxUnits = 80);

} // namespace kiposim
