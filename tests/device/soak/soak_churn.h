// The soak's outside world: a seeded stream of window changes and hand switches on the agenda,
// with its own record of which windows it left open, and a check at every step that the
// program's last tick read the foreground caption as it stands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "platform/text.h"

class SoakChurn {
  public:
    SoakChurn(sim::Device& device, std::uint64_t seed);

    // Steps from `first` until `last` (virtual ms), one every 0.2 to 10 s.
    void Start(std::uint64_t first, std::uint64_t last);
    // While paused, steps do nothing (the settings dialog and the probes have the screen).
    void Pause(bool paused);
    // A probe window of the test's own, in front.
    void OpenProbe(const WString& caption);

    std::uint64_t Next();
    // ";#w<caption>" entries naming captions the churn opens, for the test's random lists.
    WString RandomWifiEntries();

    int Failures() const { return failures_; }
    const std::string& FirstFailure() const { return firstFailure_; }
    long long Opened() const { return opened_; }
    long long LongCaptions() const { return longCaptions_; }
    long long HandSwitches() const { return handSwitches_; }
    long long CaptionsChecked() const { return captionsChecked_; }
    std::size_t OpenCount() const { return open_.size(); }

  private:
    void Step();
    void CheckLastCaption();
    WString RandomCaption();
    void OpenOne();
    void CloseAt(std::size_t index);
    void RenameAt(std::size_t index);
    bool OwnedByChurn(const WString& caption) const;
    void Fail(const std::string& what);

    sim::Device& device_;
    std::uint64_t state_;
    std::uint64_t last_ = 0;
    bool paused_ = false;
    std::uint64_t lastChange_ = 0;
    std::vector<int> processes_;
    std::vector<WString> open_; // captions as the windows hold them (cut at a NUL)
    bool longOpen_ = false;
    int failures_ = 0;
    std::string firstFailure_;
    long long opened_ = 0;
    long long longCaptions_ = 0;
    long long handSwitches_ = 0;
    long long captionsChecked_ = 0;
};
