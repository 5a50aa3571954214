#include "tools/kipo-sim/runner.h"

#include "platform/sim/device.h"
#include "tools/kipo-sim/progress.h"
#include "tools/kipo-sim/registry_files.h"
#include "tools/kipo-sim/verb.h"

namespace kiposim {

namespace {

// Terminal colours for held and failed checks (SGR sequences).
constexpr const char* kGreen = "\033[32m";
constexpr const char* kRed = "\033[1;31m";
constexpr const char* kPlain = "\033[0m";

} // namespace

Runner::Runner(const Scenario& scenario, const Options& options, std::FILE* out)
    : scenario_(scenario), options_(options), out_(out),
      watcher_([this](const TickReport& report) { OnTickEnd(report); }) {
    watcher_.SetExplain(options_.explain);
    plan_.reserve(scenario_.steps.size() + 1);
    for (const Step& step : scenario_.steps)
        plan_.push_back(&step);
    if (!scenario_.explicitStart) {
        implicitStart_.verb = FindVerb("start");
        implicitStart_.source = "start (implicit, after the set-up steps)";
        plan_.insert(plan_.begin() + static_cast<std::ptrdiff_t>(scenario_.implicitStartIndex),
                     &implicitStart_);
    }
    for (const Step* planned : plan_) {
        const Step& step = *planned;
        watchCalls_ = watchCalls_ || step.usesCallLog;
        // Only the ordered checks need the calls themselves; counts are cheap.
        if (step.call.name.size() > 0)
            stage_.calls.KeepRecords(true);
    }
}

Runner::~Runner() = default;

void Runner::SetConsole(bool colour, Progress* progress, std::FILE* data) {
    colour_ = colour;
    progress_ = progress;
    data_ = data;
}

RunResult Runner::Run() {
    device_ = std::make_unique<sim::Device>();
    stage_.device = device_.get();
    sim::Device& device = *device_;
    device.threads.SetHostProcess(0); // the outside world is no program
    log_.KeepTicks(!options_.svgFile.empty());
    ListenToCalls(true);

    if (!options_.registryFile.empty()) {
        BeforeOutput();
        if (!LoadRegistryFile(device.registry, options_.registryFile, err_)) {
            result_.exitCode = 2;
            return result_;
        }
    }

    if (plan_.empty())
        device.scheduler.At(
            0, [this] { Finish(); }, "end");
    else
        ScheduleStep(0, 0);
    DriveAgenda();

    log_.End(result_.endTime);
    result_.ticks = log_.TickCount();

    SaveRegistry(device);
    ListenToCalls(false);
    result_.exitCode =
        (result_.checksFailed > 0 || result_.stepFailed || result_.saveFailed) ? 1 : 0;
    PrintSummary(result_);
    return result_;
}

// The listener finds the program's main frame when its check timer starts, and feeds
// --trace and the icon events of the timeline. With it every platform call formats its
// arguments, so a quiet run drops it once the frame is found.
void Runner::ListenToCalls(bool on) {
    if (on == listening_)
        return;
    listening_ = on;
    if (on)
        device_->trace.SetListener([this](const sim::TraceCall& call) { OnTraceCall(call); });
    else
        device_->trace.SetListener(nullptr);
}

// The runner's own thread is the outside world's: it works the agenda whenever no program can
// go on, and each started program runs on a thread of its own.
void Runner::DriveAgenda() {
    device_->RunUntilIdle();
}

void Runner::ScheduleStep(std::size_t index, std::uint64_t time) {
    device_->scheduler.At(time, [this, index] { RunStep(index); });
}

void Runner::Continue(std::size_t next, std::uint64_t time) {
    if (stopped_ || next >= plan_.size())
        device_->scheduler.At(
            time, [this] { Finish(); }, "end");
    else
        ScheduleStep(next, time);
}

void Runner::RunStep(std::size_t index) {
    if (stopped_ || finished_)
        return;
    sim::Device& device = *device_;
    const Step& step = *plan_[index];
    const Verb& verb = *step.verb;
    if (!stage_.deviceReady && verb.group != VerbGroup::SetUp && verb.group != VerbGroup::Registry)
        ApplyDeviceSetUp();
    // What the previous step caused has been processed by now.
    Observe();
    const std::uint64_t now = device.Now();
    if (progress_ != nullptr)
        progress_->Update(now);

    switch (verb.group) {
    case VerbGroup::Wait:
        if (step.inTicks)
            BeginTickWait(index + 1, step.ticks);
        else
            Continue(index + 1, now + step.durationMs);
        return;
    case VerbGroup::Start:
        // The program starts on its own thread and runs when this item is over; the next step
        // is due now, so it runs at the program's first wait.
        Continue(index + 1, now);
        StartProgram();
        return;
    case VerbGroup::Check: {
        std::string found = verb.run(stage_, step);
        if (found.empty()) {
            ++result_.checksHeld;
            if (!options_.quiet)
                Line(Paint("holds", kGreen) + ": line " + std::to_string(step.line) + ": " +
                     step.source);
        } else {
            ++result_.checksFailed;
            Failure(step, found);
        }
        Continue(index + 1, now);
        return;
    }
    default:
        break;
    }

    if (!options_.quiet && stage_.deviceReady && verb.action != nullptr) {
        std::string action = verb.action(step);
        if (!action.empty())
            Line(action);
    }
    if (verb.userAction)
        device.handheld.idle.UserActivity(now);
    std::string problem = verb.run(stage_, step);
    if (!problem.empty()) {
        result_.stepFailed = true;
        Failure(step, "cannot apply: " + problem);
        stopped_ = true;
    } else {
        Observe(verb.radioReason != nullptr      ? verb.radioReason
                : verb.group == VerbGroup::SetUp ? "the scenario's set-up"
                                                 : nullptr);
    }
    Continue(index + 1, now);
}

void Runner::BeginTickWait(std::size_t next, std::uint64_t ticks) {
    if (ticks == 0) {
        Continue(next, device_->Now());
        return;
    }
    if (!ProgramRunning()) {
        result_.stepFailed = true;
        Failure(*plan_[next - 1], "the program is not running, so there is no check timer");
        stopped_ = true;
        Continue(next, device_->Now());
        return;
    }
    const int generation = ++tickWaitGeneration_;
    tickWait_ = TickWait{next, watcher_.Ticks() + ticks, {}};
    TickWaitCheck(next, tickWait_->target, generation);
}

// The wait ends right after the tick that reaches its count has returned, whatever that tick
// did (slept through the next expiry included): the steps after it run before the program
// takes its next timer message.
void Runner::EndTickWait() {
    sim::Device& device = *device_;
    const std::size_t next = tickWait_->next;
    device.scheduler.Cancel(tickWait_->watch);
    tickWait_.reset();
    ++tickWaitGeneration_;
    device.scheduler.PreferAgendaNow();
    Continue(next, device.Now());
}

// Meanwhile an item on the agenda at the check timer's next expiry keeps the run going and
// notices a program that ended or has no check timer.
void Runner::TickWaitCheck(std::size_t next, std::uint64_t target, int generation) {
    if (stopped_ || generation != tickWaitGeneration_)
        return;
    sim::Device& device = *device_;
    const Step& waitStep = *plan_[next - 1];
    if (watcher_.Ticks() >= target) {
        tickWait_.reset();
        Continue(next, device.Now());
        return;
    }
    if (!ProgramRunning()) {
        result_.stepFailed = true;
        Failure(waitStep, "the program ended before its check timer had run " +
                              std::to_string(waitStep.ticks) + " times");
        stopped_ = true;
        tickWait_.reset();
        Continue(next, device.Now());
        return;
    }
    std::uint64_t when = device.Now() + 1;
    const HWND main = MainWindow();
    const sim::Timer* timer = main ? device.windows.timers.Find(main, 1) : nullptr;
    if (timer != nullptr) {
        // Due now and not yet run means the program cannot take it yet (it is inside a
        // Sleep): look again a millisecond later rather than at this same instant forever.
        if (timer->due > device.Now())
            when = timer->due;
    } else if (main != nullptr || observerAttached_) {
        result_.stepFailed = true;
        Failure(waitStep, "the program's main window has no check timer (timer 1)");
        stopped_ = true;
        tickWait_.reset();
        Continue(next, device.Now());
        return;
    } else {
        // Still starting: its main window and timer come once start-up's pause is over.
        when = device.Now() + 50;
    }
    const sim::Scheduler::Ticket ticket = device.scheduler.At(
        when, [this, next, target, generation] { TickWaitCheck(next, target, generation); });
    if (tickWait_)
        tickWait_->watch = ticket;
}

void Runner::Finish() {
    if (finished_)
        return;
    if (!stage_.deviceReady)
        ApplyDeviceSetUp();
    Observe();
    finished_ = true;
    result_.endTime = device_->Now();
    if (ProgramRunning())
        Line("end of the scenario: the device shuts down");
    else
        Line("end of the scenario");
}

// The progress line shares the terminal: it goes before anything else is written.
// --save-registry: only a run whose checks all held and whose steps all applied saves, so a
// failed run never replaces a registry file that a later run would start from. "-" is the
// data stream (standard output).
void Runner::SaveRegistry(const sim::Device& device) {
    if (options_.saveRegistryFile.empty())
        return;
    BeforeOutput();
    if (result_.checksFailed > 0 || result_.stepFailed) {
        std::fprintf(err_, "kipo-sim: the registry is not saved to %s: the run failed\n",
                     options_.saveRegistryFile.c_str());
        return;
    }
    if (!SaveRegistryFile(device.registry, options_.saveRegistryFile, options_.saveRegistryUtf8,
                          data_ != nullptr ? data_ : stdout, err_))
        result_.saveFailed = true;
}

void Runner::BeforeOutput() {
    if (progress_ != nullptr)
        progress_->Clear();
}

std::string Runner::Paint(const std::string& text, const char* colour) const {
    return colour_ ? colour + text + kPlain : text;
}

void Runner::Line(const std::string& text) {
    if (options_.quiet)
        return;
    BeforeOutput();
    std::fprintf(out_, "%s  %s\n", FormatTime(device_->Now()).c_str(), text.c_str());
}

void Runner::Failure(const Step& step, const std::string& text) {
    std::string where = step.line > 0 ? "line " + std::to_string(step.line) + ": " : "";
    BeforeOutput();
    std::fprintf(out_, "%s  %s %s%s: %s\n", FormatTime(device_->Now()).c_str(),
                 Paint("FAILED", kRed).c_str(), where.c_str(), step.source.c_str(), text.c_str());
}

void Runner::PrintSummary(const RunResult& result) {
    BeforeOutput();
    std::fprintf(out_, "\nSummary: %s simulated, %llu run%s of the check timer\n",
                 FormatTime(result.endTime).c_str(), static_cast<unsigned long long>(result.ticks),
                 result.ticks == 1 ? "" : "s");
    for (Radio radio : {Radio::Bluetooth, Radio::Wifi}) {
        int byProgram = 0, byHand = 0, other = 0;
        for (const RadioSwitch& s : log_.Switches(radio))
            (s.byProgram ? byProgram : s.reason == "hand" ? byHand : other)++;
        const int total = byProgram + byHand + other;
        const std::uint64_t on = log_.TimeOn(radio);
        std::string switches = std::to_string(total) + " switch" + (total == 1 ? "" : "es");
        if (byHand + other > 0) {
            switches += " (" + std::to_string(byProgram) + " by Kipo";
            if (byHand > 0)
                switches += ", " + std::to_string(byHand) + " by hand";
            if (other > 0)
                switches += ", " + std::to_string(other) + " otherwise";
            switches += ")";
        }
        std::fprintf(out_, "  %-10s %s, on for %s (%s of the run)\n", RadioName(radio),
                     switches.c_str(), FormatTime(on).c_str(),
                     FormatShare(on, result.endTime).c_str());
    }
    std::fprintf(out_, "  %-10s %d by Kipo, %d of them without effect (Bluetooth %d, WiFi %d)\n",
                 "Decisions", decisions_[0] + decisions_[1], withoutEffect_[0] + withoutEffect_[1],
                 withoutEffect_[0], withoutEffect_[1]);
    const model::IdleTimer& idle = device_->handheld.idle;
    const std::size_t lapses = idle.Lapses(result.endTime).size();
    std::fprintf(out_,
                 "  %-10s %d reset%s; the device would have suspended %zu time%s (after %s "
                 "without activity)\n",
                 "Idle timer", idle.Resets(), idle.Resets() == 1 ? "" : "s", lapses,
                 lapses == 1 ? "" : "s", FormatTime(model::IdleTimer::kTimeoutMs).c_str());
    const std::string held = std::to_string(result.checksHeld) + " held";
    const std::string failed = std::to_string(result.checksFailed) + " failed";
    std::fprintf(out_, "  %-10s %s, %s%s\n", "Checks",
                 (result.checksHeld > 0 ? Paint(held, kGreen) : held).c_str(),
                 (result.checksFailed > 0 ? Paint(failed, kRed) : failed).c_str(),
                 result.stepFailed   ? "; a step could not apply"
                 : result.saveFailed ? "; the registry was not saved"
                                     : "");
}

} // namespace kiposim
