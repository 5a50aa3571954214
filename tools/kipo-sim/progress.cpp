#include "tools/kipo-sim/progress.h"

#include <string>

#include "tools/kipo-sim/run_log.h"

namespace kiposim {

namespace {

// A redraw costs a write to the terminal; five a second read as live.
constexpr std::chrono::milliseconds kRedraw{200};

} // namespace

Progress::Progress(std::FILE* err, std::chrono::milliseconds after, Clock clock)
    : err_(err), clock_(std::move(clock)) {
    start_ = Now();
    nextDraw_ = start_ + after;
}

std::chrono::steady_clock::time_point Progress::Now() const {
    return clock_ ? clock_() : std::chrono::steady_clock::now();
}

void Progress::Update(std::uint64_t simulatedMs) {
    // The first call looks at once, so a zero delay draws from the start.
    if (calls_++ % kCallsPerLook != 0)
        return;
    const auto now = Now();
    if (now < nextDraw_)
        return;
    nextDraw_ = now + kRedraw;
    // Whole seconds: milliseconds would flicker faster than anyone reads them.
    std::string time = FormatTime(simulatedMs - simulatedMs % 1000);
    time.resize(time.size() - 4);
    std::fprintf(err_, "\r\033[Kkipo-sim: %s simulated", time.c_str());
    std::fflush(err_);
    shown_ = true;
}

void Progress::Clear() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", err_);
    std::fflush(err_);
    shown_ = false;
}

} // namespace kiposim
