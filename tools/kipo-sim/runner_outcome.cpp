// What came of Kipo's decisions: a decision that left the radio as it was is said, with the
// reason read from the device; a belief (known state) that differs from the radio is shown.
// Kipo itself cannot tell (its radio operations report nothing), which is why users ask.
#include "app/main_frame.h"
#include "platform/sim/device.h"
#include "tools/kipo-sim/no_effect.h"
#include "tools/kipo-sim/runner.h"

namespace kiposim {

namespace {

const char* RadioWord(int radio) {
    return radio == 0 ? "Bluetooth" : "WiFi";
}

const char* OnOff(bool on) {
    return on ? "on" : "off";
}

} // namespace

// -2 when the program's frame is not known.
LONG Runner::KnownState(int radio, bool running) const {
    const CMainFrame* frame = stage_.frame;
    if (frame == nullptr || !running)
        return -2;
    return radio == 0 ? frame->BtState : frame->WifiState;
}

void Runner::NoteOutcomes(const TickReport& report, const Look& now,
                          std::vector<std::string>& explained, std::vector<std::string>& timeline) {
    const CMainFrame* frame = stage_.frame;
    // The lines are put together only when they will be printed: a quiet run counts, and the
    // rules tried are shown only at a tick whose caption is new.
    const bool printing = !options_.quiet;
    const bool explaining = printing && options_.explain && report.changed;
    for (int r = 0; r < kRadios; ++r) {
        const LONG known = KnownState(r, now.running);
        if (report.switching[r]) {
            ++decisions_[r];
            const bool wanted = report.decidedOn[r];
            if (now.radio[r] == wanted) {
                noEffectShown_[r].clear();
            } else {
                ++withoutEffect_[r];
                if (!printing)
                    continue;
                const std::string reason =
                    NoEffectReason(*device_, frame != nullptr ? frame->BTControl : 0, r, wanted);
                const std::string text = std::string(RadioWord(r)) + " decided " + OnOff(wanted) +
                                         " by " + report.Decision(r) +
                                         ": no effect, the radio stays " + OnOff(now.radio[r]) +
                                         " (" + reason + ")";
                if (explaining)
                    explained.push_back(std::string(RadioWord(r)) +
                                        " outcome: no effect, the radio stays " +
                                        OnOff(now.radio[r]) + ": " + reason);
                if (report.changed || noEffectShown_[r] != text) {
                    timeline.push_back(text);
                    noEffectShown_[r] = text;
                }
                continue;
            }
        }
        if (explaining && (known == 0 || known == 1) && (known == 1) != now.radio[r])
            explained.push_back(std::string(RadioWord(r)) + ": Kipo believes it " +
                                OnOff(known == 1) + " (known state " + std::to_string(known) +
                                "), the radio is " + OnOff(now.radio[r]));
    }
}

void Runner::NoteHandSwitch(const Look& now, int radio) {
    const LONG known = KnownState(radio, now.running);
    if ((known != 0 && known != 1) || (known == 1) == now.radio[radio])
        return;
    Line(std::string("  Kipo still believes ") + RadioWord(radio) + " " + OnOff(known == 1) +
         " (known state " + std::to_string(known) +
         "): it acts again only when a rule decides, at the next new foreground caption or at a "
         "tick while a running-list window exists");
}

} // namespace kiposim
