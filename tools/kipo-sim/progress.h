// The progress line of a long run on a terminal's standard error: simulated time so far,
// redrawn in place a few times a second, erased when the run ends. A run shorter than the
// console's delay shows nothing; a run whose standard error is not a terminal never shows it.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace kiposim {

class Progress {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    Progress(std::FILE* err, std::chrono::milliseconds after, Clock clock = {});
    ~Progress() { Clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Called often (every tick): looks at the wall clock only every few calls.
    void Update(std::uint64_t simulatedMs);
    // Erases the line, if one was drawn; the report goes on below as if there had been none.
    void Clear();
    bool Shown() const { return shown_; }

    // Reading the clock at every tick would cost more than the tick: one call in this many.
    static constexpr unsigned kCallsPerLook = 64;

  private:
    std::chrono::steady_clock::time_point Now() const;

    std::FILE* err_;
    Clock clock_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point nextDraw_;
    unsigned calls_ = 0;
    bool shown_ = false;
};

} // namespace kiposim
