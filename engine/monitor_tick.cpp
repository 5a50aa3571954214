// The monitor tick: one pass that decides, from the foreground caption and the windows that
// exist, which radio to switch. Rules for one radio stop at the first that decides it.
#include "app/main_frame.h"
#include "engine/decision_observer.h"

namespace {

// Keep-alive: the idle timer is reset on every 22nd qualifying tick.
constexpr LONG kKeepAliveTicks = 20;

struct TickPass {
    CMainFrame& frame;
    CDecisionObserver* observer;
    bool btDecided = false;
    bool wifiDecided = false;

    void Decided(TickRadio radio, TickRule rule, int index, const WString* entry, bool on) {
        if (observer != nullptr)
            observer->OnDecision(TickDecision{radio, rule, index, entry, on});
    }

    // Index of the first entry the caption begins with, or -1.
    int FirstBeginning(const RuleList& list, TickRadio radio, TickRule rule) {
        const WString& caption = frame.CaptionBuffer;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const bool matched = BeginsWith(caption, list[i]);
            if (observer != nullptr)
                observer->OnRuleTried(radio, rule, static_cast<int>(i), list[i], matched);
            if (matched)
                return static_cast<int>(i);
        }
        return -1;
    }

    // Index of the first entry for which a window of exactly that caption exists, or -1.
    int FirstRunning(const RuleList& list, TickRadio radio) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            const bool matched = FindWindowW(nullptr, list[i].c_str()) != nullptr;
            if (observer != nullptr)
                observer->OnRuleTried(radio, TickRule::RunningList, static_cast<int>(i), list[i],
                                      matched);
            if (matched)
                return static_cast<int>(i);
        }
        return -1;
    }

    void OffLists() {
        if (!btDecided) {
            const int i = FirstBeginning(frame.BtOffList, TickRadio::Bluetooth, TickRule::OffList);
            if (i >= 0) {
                frame.BtState = 0;
                frame.TurnBluetoothOff(0);
                btDecided = true;
                Decided(TickRadio::Bluetooth, TickRule::OffList, i, &frame.BtOffList[i], false);
            }
        }
        if (!wifiDecided) {
            const int i = FirstBeginning(frame.WifiOffList, TickRadio::Wifi, TickRule::OffList);
            if (i >= 0) {
                frame.WifiState = 0;
                frame.TurnWifiOff(0);
                wifiDecided = true;
                Decided(TickRadio::Wifi, TickRule::OffList, i, &frame.WifiOffList[i], false);
            }
        }
    }

    void RunningLists() {
        if (!btDecided) {
            const int i = FirstRunning(frame.BtOnRunningList, TickRadio::Bluetooth);
            if (i >= 0) {
                frame.BtState = 1;
                frame.TurnBluetoothOn(0);
                btDecided = true;
                Decided(TickRadio::Bluetooth, TickRule::RunningList, i, &frame.BtOnRunningList[i],
                        true);
            }
        }
        if (!wifiDecided) {
            const int i = FirstRunning(frame.WifiOnRunningList, TickRadio::Wifi);
            if (i >= 0) {
                frame.WifiState = 1;
                frame.TurnWifiOn(0);
                wifiDecided = true;
                Decided(TickRadio::Wifi, TickRule::RunningList, i, &frame.WifiOnRunningList[i],
                        true);
            }
        }
    }

    // Returns true when a Bluetooth entry matched: that ends the tick.
    bool BluetoothOnActive() {
        if (btDecided)
            return false;
        const int i =
            FirstBeginning(frame.BtOnActiveList, TickRadio::Bluetooth, TickRule::OnActiveList);
        if (i < 0)
            return false;
        frame.BtState = 1;
        frame.TurnBluetoothOn(0);
        Decided(TickRadio::Bluetooth, TickRule::OnActiveList, i, &frame.BtOnActiveList[i], true);
        return true;
    }

    // Every matching entry turns WiFi on, not only the first.
    void WifiOnActive() {
        if (wifiDecided)
            return;
        const RuleList& list = frame.WifiOnActiveList;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const bool matched = BeginsWith(frame.CaptionBuffer, list[i]);
            if (observer != nullptr)
                observer->OnRuleTried(TickRadio::Wifi, TickRule::OnActiveList, static_cast<int>(i),
                                      list[i], matched);
            if (!matched)
                continue;
            frame.WifiState = 1;
            frame.TurnWifiOn(0);
            wifiDecided = true;
            Decided(TickRadio::Wifi, TickRule::OnActiveList, static_cast<int>(i), &list[i], true);
        }
    }

    void DefaultActions() {
        if (!btDecided) {
            if (frame.DefaultAction == 1) {
                frame.TurnBluetoothOn(0);
                frame.BtState = 1;
                Decided(TickRadio::Bluetooth, TickRule::DefaultAction, -1, nullptr, true);
            } else if (frame.DefaultAction == 2) {
                frame.TurnBluetoothOff(0);
                frame.BtState = 0;
                Decided(TickRadio::Bluetooth, TickRule::DefaultAction, -1, nullptr, false);
            }
        }
        if (!wifiDecided) {
            if (frame.WFDefaultAction == 1) {
                frame.TurnWifiOn(0);
                frame.WifiState = 1;
                Decided(TickRadio::Wifi, TickRule::DefaultAction, -1, nullptr, true);
            } else if (frame.WFDefaultAction == 2) {
                frame.TurnWifiOff(0);
                frame.WifiState = 0;
                Decided(TickRadio::Wifi, TickRule::DefaultAction, -1, nullptr, false);
            }
        }
    }
};

// The foreground window's whole caption, lower-cased, into `caption`; empty without one.
void ReadForegroundCaption(WString& caption) {
    caption.clear();
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr)
        return;
    const int length = GetWindowTextLengthW(foreground);
    if (length <= 0)
        return;
    // Room for the terminator; the buffer keeps its capacity from tick to tick.
    caption.resize(static_cast<std::size_t>(length) + 1);
    int copied = GetWindowTextW(foreground, caption.data(), length + 1);
    if (copied < 0)
        copied = 0;
    if (copied > length)
        copied = length;
    caption.resize(static_cast<std::size_t>(copied));
    if (!caption.empty())
        CharLowerBuffW(caption.data(), static_cast<DWORD>(caption.size()));
}

} // namespace

void CMainFrame::MonitorTick(UINT_PTR /*timerId*/) {
    if (Busy != 0) {
        if (Observer != nullptr)
            Observer->OnTickSkipped();
        DefaultTimerProcessing();
        return;
    }
    Busy = 1;

    if (KeepPDAOn != 0 && (BtState == 1 || WifiState == 1)) {
        const LONG n = KeepAliveCounter;
        const bool reset = n > kKeepAliveTicks;
        KeepAliveCounter = reset ? 0 : n + 1;
        if (reset)
            SystemIdleTimerReset();
        if (Observer != nullptr)
            Observer->OnKeepAlive(KeepAliveCounter, reset);
    }

    ReadForegroundCaption(CaptionBuffer);
    const bool changed = CaptionBuffer != LastCaption;
    if (changed)
        LastCaption.assign(CaptionBuffer); // reuses LastCaption's capacity when it suffices
    if (Observer != nullptr)
        Observer->OnTickStart(CaptionBuffer, changed);

    TickPass pass{*this, Observer};
    bool endedEarly = false;
    if (OffTakesPrecedence != 0) {
        if (changed) {
            pass.OffLists();
        } else {
            if (BtState == 0) {
                pass.btDecided = true;
                pass.Decided(TickRadio::Bluetooth, TickRule::KnownOff, -1, nullptr, false);
            }
            if (WifiState == 0) {
                pass.wifiDecided = true;
                pass.Decided(TickRadio::Wifi, TickRule::KnownOff, -1, nullptr, false);
            }
        }
    }
    pass.RunningLists();
    if (changed) {
        endedEarly = pass.BluetoothOnActive();
        if (!endedEarly) {
            pass.WifiOnActive();
            if (OffTakesPrecedence == 0)
                pass.OffLists();
            pass.DefaultActions();
        }
    }

    if (Observer != nullptr)
        Observer->OnTickEnd(endedEarly);
    DefaultTimerProcessing();
    Busy = 0;
}
