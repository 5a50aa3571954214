// Watching the device from outside: what changed since the last look (foreground caption,
// radios, the program's windows, its icon and menu) becomes a line of the timeline. Looking
// uses the device's own state, never a platform call, so `expect calls` counts only what
// the programs on the device did.
#include "app/main_frame.h"
#include "app/switcher_app.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/progress.h"
#include "tools/kipo-sim/runner.h"
#include "tools/kipo-sim/same_units.h"
#include "tools/kipo-sim/shell_view.h"

namespace kiposim {

// The frame is found when it starts its check timer (inside its creation), so the observer
// hears the very first tick.
void Runner::AttachObserver() {
    if (observerAttached_ || device_->CurrentProcess() != sim::kProgramProcess)
        return;
    auto* app = dynamic_cast<CSwitcherApp*>(AfxGetApp());
    CMainFrame* frame = app != nullptr ? app->MainFrame() : nullptr;
    if (frame == nullptr)
        return;
    frame->SetDecisionObserver(&watcher_);
    observerAttached_ = true;
    stage_.frame = frame;
    stage_.mainWindow = frame->m_hWnd;
}

void Runner::OnTraceCall(const sim::TraceCall& call) {
    if (options_.trace && !options_.quiet) {
        BeforeOutput();
        std::fprintf(out_, "%s      %s %s\n", FormatTime(call.time).c_str(),
                     ProcessLabel(call.process).c_str(), call.Text().c_str());
    }
    if (!observerAttached_ && call.name == "SetTimer" && call.process == sim::kProgramProcess)
        AttachObserver();
    if (!options_.quiet && seenValid_)
        NoteRadioOrder();
    if (watchCalls_)
        stage_.LogCall(call);
    if (!stage_.timerAt.empty() && call.name == stage_.timerAt &&
        stage_.CallerOf(call.process) == Caller::Kipo)
        DeliverTimerInside(call);
    // The icon comes and goes inside start-up and shut-down, between the runner's looks.
    if (!options_.quiet && seenValid_ && call.name == "Shell_NotifyIcon")
        Observe();
}

// `fault timer-in-...`: the check timer's message arrives while Kipo is in the middle of
// the call, as a message dispatched by a nested loop would (sent, so it runs at once).
void Runner::DeliverTimerInside(const sim::TraceCall& call) {
    stage_.timerAt.clear();
    HWND target = MainWindow();
    if (target == nullptr) {
        // Before its timer starts the frame is the program's one top-level non-dialog window.
        for (HWND handle : device_->windows.TopLevel()) {
            const sim::Window* w = device_->windows.Get(handle);
            if (w != nullptr && w->process == call.process && w->className != sim::kDialogClass)
                target = handle;
        }
    }
    if (target == nullptr)
        return;
    Line("a timer message arrives while Kipo is inside " + call.name);
    SendMessageW(target, WM_TIMER, 1, 0);
}

void Runner::NoteRadioOrder() {
    const bool on[kRadios] = {sim::BluetoothIsOn(*device_), sim::WifiIsOn(*device_)};
    for (int r = 0; r < kRadios; ++r) {
        if (on[r] == seen_.radio[r])
            continue;
        bool noted = false;
        for (int i = 0; i < radioOrderCount_; ++i)
            noted = noted || radioOrder_[i] == r;
        if (!noted)
            radioOrder_[radioOrderCount_++] = r;
    }
}

std::string Runner::ProcessLabel(int process) const {
    if (process == sim::kShellProcess)
        return "[shell]";
    if (process == sim::kProgramProcess)
        return "[" + ToUtf8(stage_.setUp.exeName) + "]";
    if (device_->widcomm.Installed() && process == device_->widcomm.Process())
        return "[Widcomm]";
    return "[process " + std::to_string(process) + "]";
}

void Runner::ReadLook(Look& look) {
    const sim::Device& device = *device_;
    const sim::Window* front = device.windows.Get(device.windows.Foreground());
    look.caption = front != nullptr ? &front->caption : nullptr;
    look.radio[0] = sim::BluetoothIsOn(device);
    look.radio[1] = sim::WifiIsOn(device);
    look.shell = ReadShellState(device, sim::kProgramProcess);
    look.running = ProgramRunning();
    programWindows_.Read(device.windows, sim::kProgramProcess, stage_.mainWindow, look.windows);
}

void Runner::Observe(const char* radioReason) {
    if (!seenValid_ || device_ == nullptr)
        return;
    Look now;
    ReadLook(now);
    ReportChanges(now, nullptr, radioReason);
}

// Each part of the look is compared with what was last reported, and only a part that
// differs is reported and remembered: most looks find nothing new.
void Runner::ReportChanges(const Look& now, const TickReport* tick, const char* reason) {
    // The program's own windows first: a dialog that opens usually takes the foreground.
    if (!now.windows.empty() || !seen_.windows.empty()) {
        ReportWindows(now);
        if (seen_.windows != now.windows)
            seen_.windows = now.windows;
    }
    const bool hasForeground = now.caption != nullptr;
    if (hasForeground != seen_.hasForeground ||
        !(hasForeground ? SameUnits(*now.caption, seen_.caption) : seen_.caption.empty()))
        ReportCaption(now);
    if (radioOrderCount_ > 0 || now.radio[0] != seen_.radio[0] || now.radio[1] != seen_.radio[1])
        ReportRadios(now, tick, reason);
    if (now.shell.iconShown != seen_.iconShown || now.shell.iconResource != seen_.iconResource) {
        if (now.shell.iconShown)
            Line("notification icon shown (icon " + std::to_string(now.shell.iconResource) + ")");
        else
            Line("notification icon removed");
        seen_.iconShown = now.shell.iconShown;
        seen_.iconResource = now.shell.iconResource;
    }
    if (now.shell.menuOpen != seen_.menuOpen) {
        Line(now.shell.menuOpen ? "popup menu opens" : "popup menu closes");
        seen_.menuOpen = now.shell.menuOpen;
    }
}

void Runner::ReportCaption(const Look& now) {
    const bool hasForeground = now.caption != nullptr;
    log_.Caption(device_->Now(),
                 hasForeground ? std::optional<WString>(*now.caption) : std::nullopt);
    Line(hasForeground ? "foreground: " + QuoteCaption(*now.caption)
                       : "no window in the foreground");
    seen_.hasForeground = hasForeground;
    if (hasForeground)
        seen_.caption = *now.caption;
    else
        seen_.caption.clear();
}

void Runner::ReportWindows(const Look& now) {
    for (const Seen::Window& w : now.windows) {
        const Seen::Window* before = nullptr;
        for (const Seen::Window& old : seen_.windows)
            if (old.handle == w.handle)
                before = &old;
        if (before == nullptr)
            Line("Kipo's window " + QuoteCaption(w.caption) +
                 (w.visible ? " opens" : " is created, hidden"));
        else if (before->visible != w.visible)
            Line("Kipo's window " + QuoteCaption(w.caption) +
                 (w.visible ? " is shown" : " is hidden"));
    }
    for (const Seen::Window& old : seen_.windows) {
        bool still = false;
        for (const Seen::Window& w : now.windows)
            still = still || w.handle == old.handle;
        if (!still)
            Line("Kipo's window " + QuoteCaption(old.caption) + " closes");
    }
}

void Runner::ReportRadios(const Look& now, const TickReport* tick, const char* reason) {
    const std::uint64_t time = device_->Now();
    // The radios in the order they changed; any change not seen call by call after them.
    int order[kRadios];
    int count = 0;
    for (int i = 0; i < radioOrderCount_; ++i)
        order[count++] = radioOrder_[i];
    for (int r = 0; r < kRadios; ++r) {
        bool listed = false;
        for (int i = 0; i < count; ++i)
            listed = listed || order[i] == r;
        if (!listed)
            order[count++] = r;
    }
    radioOrderCount_ = 0;
    for (const int r : order) {
        if (now.radio[r] == seen_.radio[r])
            continue;
        const Radio radio = r == 0 ? Radio::Bluetooth : Radio::Wifi;
        bool byProgram = false;
        std::string why;
        if (tick != nullptr && tick->decided[r]) {
            byProgram = true;
            why = "Kipo, " + tick->Decision(r);
        } else if (reason != nullptr) {
            why = reason;
        } else if (tick != nullptr) {
            byProgram = true;
            why = "Kipo";
        } else {
            why = "the device, not Kipo";
        }
        log_.Switch(radio, time, now.radio[r], byProgram, why);
        Line(std::string(RadioName(radio)) + (now.radio[r] ? " on" : " off") + "  by " + why);
        if (reason != nullptr && std::string(reason) == "hand")
            NoteHandSwitch(now, r);
    }
    for (int r = 0; r < kRadios; ++r)
        seen_.radio[r] = now.radio[r];
}

void Runner::Remember(const Look& now) {
    seen_.hasForeground = now.caption != nullptr;
    if (now.caption != nullptr)
        seen_.caption = *now.caption;
    else
        seen_.caption.clear();
    for (int r = 0; r < kRadios; ++r)
        seen_.radio[r] = now.radio[r];
    seen_.iconShown = now.shell.iconShown;
    seen_.iconResource = now.shell.iconResource;
    seen_.menuOpen = now.shell.menuOpen;
    seen_.windows = now.windows;
}

// Why a radio was left alone by a tick that saw a new caption.
std::string Runner::Undecided(int radio, bool endedEarly) const {
    const CMainFrame* frame = stage_.frame;
    if (frame == nullptr && !(radio == 1 && endedEarly))
        return "no rule decided";
    const LONG action = frame == nullptr ? 0
                        : radio == 0     ? frame->DefaultAction
                                         : frame->WFDefaultAction;
    return TickWatcher::UndecidedText(radio, action, true, endedEarly);
}

void Runner::OnTickEnd(const TickReport& report) {
    log_.Tick(device_->Now());
    if (progress_ != nullptr)
        progress_->Update(device_->Now());
    DropListenerIfIdle();
    TickWaitReached();
    if (report.skipped) {
        if (options_.explain)
            Line("tick skipped: Kipo was busy");
        return;
    }
    Look& now = tickLook_;
    std::vector<std::string> explained;
    std::vector<std::string> timeline;
    if (seenValid_) {
        ReadLook(now);
        NoteOutcomes(report, now, explained, timeline);
    }
    const bool explainTick = options_.explain && report.changed;
    if (explainTick) {
        Line("tick: caption " + QuoteCaption(report.caption) + " is new" +
             (report.endedEarly ? "; a Bluetooth on-while-active entry ended the tick" : ""));
        if (!options_.quiet) {
            BeforeOutput();
            for (const std::string& tried : report.tried)
                std::fprintf(out_, "            %s\n", tried.c_str());
            for (int r = 0; r < kRadios; ++r)
                if (!report.decided[r])
                    std::fprintf(out_, "            %s: %s\n", r == 0 ? "Bluetooth" : "WiFi",
                                 Undecided(r, report.endedEarly).c_str());
            for (const std::string& line : explained)
                std::fprintf(out_, "            %s\n", line.c_str());
        }
    }
    for (const std::string& line : timeline)
        Line(line);
    if (report.keepAliveReset) {
        log_.IdleReset(device_->Now());
        Line("idle timer reset by the keep-alive (every 22nd tick with a radio known on)");
    }
    if (!seenValid_)
        return;
    ReportChanges(now, &report, nullptr);
}

} // namespace kiposim
