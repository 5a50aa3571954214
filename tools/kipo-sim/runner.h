// Runs a scenario: sets up a fresh simulated device, starts the real program on it, turns the
// steps into agenda items at their scenario times, checks the expect lines, ends the program
// as at device shutdown, and reports the timeline and the summary.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/kipo-sim/options.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario.h"
#include "tools/kipo-sim/tick_watcher.h"

namespace sim {
class Device;
struct TraceCall;
} // namespace sim

namespace kiposim {

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

    RunResult Run();
    // Where .reg file errors go (standard error unless told otherwise).
    void SetErrors(std::FILE* err) { err_ = err; }
    const RunLog& Log() const { return log_; }

  private:
    // What the runner last saw of the device, to report changes.
    struct Seen {
        bool hasForeground = false;
        WString caption;
        bool radio[kRadios] = {};
        bool iconShown = false;
        int iconResource = 0;
        bool menuOpen = false;
        bool running = false;
        // The program's top-level windows other than its main window: handle, caption, shown.
        struct Window {
            HWND handle;
            WString caption;
            bool visible;
        };
        std::vector<Window> windows;
    };

    // Scheduling.
    void ScheduleStep(std::size_t index, std::uint64_t time);
    void RunStep(std::size_t index);
    void Continue(std::size_t next, std::uint64_t time);
    void BeginTickWait(std::size_t next, std::uint64_t ticks);
    void TickWaitCheck(std::size_t next, std::uint64_t target, int generation);
    void Finish();
    void DriveAgenda();
    void SaveRegistry(const sim::Device& device);

    // Steps (runner_steps.cpp). Each returns an empty string, or what made it fail.
    std::string Apply(const Step& step);
    std::string ApplySetUp(const Step& step);
    void ApplyDeviceSetUp();
    std::string ApplyRegistry(const Step& step);
    std::string ApplyShell(const Step& step);
    std::string ActionText(const Step& step) const;
    static bool IsUserAction(StepKind kind);
    void StartProgram();

    // Checks (runner_checks.cpp): empty when it holds, else what was found instead.
    std::string Check(const Step& step);

    // Observation (runner_observe.cpp).
    void Observe(const char* radioReason = nullptr);
    void OnTickEnd(const TickReport& report);
    std::string Undecided(int radio, bool endedEarly) const;
    void OnTraceCall(const sim::TraceCall& call);
    void AttachObserver();
    void ListenToCalls(bool on);
    void DropListenerIfIdle();
    bool ProgramRunning() const;
    HWND MainWindow() const;
    std::optional<WString> Foreground() const;
    void ReadSeen(Seen& seen) const;
    void ReportChanges(const Seen& now, const TickReport* tick, const char* reason);

    // Output.
    void Line(const std::string& text);
    void Failure(const Step& step, const std::string& text);
    void PrintSummary(const RunResult& result);
    std::string ProcessLabel(int process) const;
    std::string SettingsKeyPath() const;

    const Scenario& scenario_;
    Options options_;
    std::FILE* out_;
    std::FILE* err_ = stderr;
    std::vector<Step> plan_; // the scenario's steps with the implicit start in its place
    std::unique_ptr<sim::Device> device_;
    RunLog log_;
    TickWatcher watcher_;
    RunResult result_;
    Seen seen_;
    bool seenValid_ = false;

    // Device set-up collected until the first timed step applies it.
    bool deviceReady_ = false;
    StackKind stack_ = StackKind::Widcomm;
    bool btOn_ = false;
    WifiSetUp wifi_ = WifiSetUp::Off;
    WString exeName_ = u"Kipo.exe";
    WString cmdline_;
    int screenWidth_ = 240;
    int screenHeight_ = 320;
    bool holdUp_ = false;

    bool stopped_ = false;  // a step could not apply: no more steps
    bool finished_ = false; // the last step has run
    bool observerAttached_ = false;
    bool listening_ = false;
    void* attachedFrame_ = nullptr;
    HWND mainWindow_ = nullptr; // the program's main frame window, once attached
    int tickWaitGeneration_ = 0;
};

} // namespace kiposim
