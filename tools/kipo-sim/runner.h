// Runs a scenario: sets up a fresh simulated device, starts the real program on it, turns the
// steps into agenda items at their scenario times, checks the expect lines, ends the program
// as at device shutdown, and reports the timeline and the summary.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/scheduler.h"
#include "tools/kipo-sim/options.h"
#include "tools/kipo-sim/program_windows.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario.h"
#include "tools/kipo-sim/shell_view.h"
#include "tools/kipo-sim/stage.h"
#include "tools/kipo-sim/tick_watcher.h"

namespace sim {
class Device;
struct TraceCall;
} // namespace sim

namespace kiposim {

class Progress;

// What the run found, besides its printed report.
struct RunResult {
    int exitCode =
        0; // 0 every expect held; 1 a check failed or a step could not apply; 2 bad input
    int checksHeld = 0;
    int checksFailed = 0;
    bool stepFailed = false;
    bool saveFailed = false; // --save-registry could not write its file
    std::uint64_t endTime = 0;
    std::uint64_t ticks = 0;
};

class Runner {
  public:
    Runner(const Scenario& scenario, const Options& options, std::FILE* out);
    ~Runner();
    Runner(const Runner&) = delete;
    Runner& operator=(const Runner&) = delete;

    // Colour in the report for held and failed checks; a progress line to keep up to date
    // (or none); where a `-` output file goes (standard output; the report is elsewhere then).
    void SetConsole(bool colour, Progress* progress, std::FILE* data);

    RunResult Run();
    // Where .reg file errors go (standard error unless told otherwise).
    void SetErrors(std::FILE* err) { err_ = err; }
    const RunLog& Log() const { return log_; }

  private:
    // What the runner last reported of the device.
    struct Seen {
        bool hasForeground = false;
        WString caption;
        bool radio[kRadios] = {};
        bool iconShown = false;
        int iconResource = 0;
        bool menuOpen = false;
        // The program's top-level windows other than its main window: handle, caption, shown.
        using Window = SeenWindow;
        std::vector<Window> windows;
    };
    // The device as it is now, for one report. The caption is the foreground window's own
    // (null when none is in front), so it is good only until the device next changes: a look
    // is read and reported in one go.
    struct Look {
        const WString* caption = nullptr;
        bool radio[kRadios] = {};
        ShellState shell;
        bool running = false;
        std::vector<SeenWindow> windows;
    };

    // Scheduling.
    void ScheduleStep(std::size_t index, std::uint64_t time);
    void RunStep(std::size_t index);
    void Continue(std::size_t next, std::uint64_t time);
    void BeginTickWait(std::size_t next, std::uint64_t ticks);
    void TickWaitCheck(std::size_t next, std::uint64_t target, int generation);
    // After each tick: ends a wait by ticks that has reached its count.
    void TickWaitReached() {
        if (tickWait_ && watcher_.Ticks() >= tickWait_->target)
            EndTickWait();
    }
    void EndTickWait();
    void Finish();
    void DriveAgenda();
    void SaveRegistry(const sim::Device& device);

    // Program start and device power-on (runner_steps.cpp); the steps themselves are verbs.
    void ApplyDeviceSetUp();
    void StartProgram();

    // Observation (runner_observe.cpp).
    void Observe(const char* radioReason = nullptr);
    void OnTickEnd(const TickReport& report);
    std::string Undecided(int radio, bool endedEarly) const;
    void OnTraceCall(const sim::TraceCall& call);
    void DeliverTimerInside(const sim::TraceCall& call);
    void AttachObserver();
    void ListenToCalls(bool on);
    // Not from inside the listener: it must not replace itself while it runs.
    void DropListenerIfIdle() {
        if (listening_ && observerAttached_ && options_.quiet && !options_.trace && !watchCalls_)
            ListenToCalls(false);
    }
    bool ProgramRunning() const { return stage_.ProgramRunning(); }
    HWND MainWindow() const { return stage_.MainWindow(); }
    std::optional<WString> Foreground() const { return stage_.Foreground(); }
    void ReadLook(Look& look);
    void ReportChanges(const Look& now, const TickReport* tick, const char* reason);
    void ReportWindows(const Look& now);
    void ReportCaption(const Look& now);
    void ReportRadios(const Look& now, const TickReport* tick, const char* reason);
    // The look becomes what was last reported, as it is (the device's first look).
    void Remember(const Look& now);
    void NoteRadioOrder();
    // Decisions that left the radio as it was, and beliefs that differ from the radios
    // (runner_outcome.cpp).
    void NoteOutcomes(const TickReport& report, const Look& now,
                      std::vector<std::string>& explained, std::vector<std::string>& timeline);
    void NoteHandSwitch(const Look& now, int radio);
    // Kipo's belief about a radio (its known state); -2 when the program is not running.
    LONG KnownState(int radio, bool running) const;

    // Output.
    void Line(const std::string& text);
    void BeforeOutput();
    std::string Paint(const std::string& text, const char* colour) const;
    void Failure(const Step& step, const std::string& text);
    void PrintSummary(const RunResult& result);
    std::string ProcessLabel(int process) const;

    const Scenario& scenario_;
    Options options_;
    std::FILE* out_;
    std::FILE* err_ = stderr;
    std::FILE* data_ = nullptr;
    bool colour_ = false;
    Progress* progress_ = nullptr;
    // The scenario's steps, not copied (a long scenario would be held twice), with the
    // implicit start in its place.
    std::vector<const Step*> plan_;
    Step implicitStart_;
    std::unique_ptr<sim::Device> device_;
    Stage stage_; // what the steps act on: the device, its set-up, the program's frame
    RunLog log_;
    TickWatcher watcher_;
    RunResult result_;
    Seen seen_;
    // The look of each tick, kept between ticks so that its window list keeps its capacity: a
    // steady tick then reads the device without allocating.
    Look tickLook_;
    bool seenValid_ = false;
    ProgramWindows programWindows_;
    // Radios in the order they changed since the last report (watched call by call while the
    // timeline is printed), so the timeline lists them as they happened.
    int radioOrder_[kRadios] = {};
    int radioOrderCount_ = 0;

    bool stopped_ = false;  // a step could not apply: no more steps
    bool finished_ = false; // the last step has run
    bool observerAttached_ = false;
    bool listening_ = false;
    bool watchCalls_ = false; // a step checks calls: log them (see CallLog)
    int tickWaitGeneration_ = 0;
    // The wait by ticks in progress: the step after it, the tick count that ends it, and the
    // agenda item that watches for the program ending or having no timer meanwhile.
    struct TickWait {
        std::size_t next = 0;
        std::uint64_t target = 0;
        sim::Scheduler::Ticket watch{};
    };
    std::optional<TickWait> tickWait_;

    // Kipo's switching decisions, those that left the radio as it was, and the last such
    // line printed (repeats on later ticks of the same caption are counted, not printed).
    int decisions_[kRadios] = {};
    int withoutEffect_[kRadios] = {};
    std::string noEffectShown_[kRadios];
};

} // namespace kiposim
