// A main frame on a fresh device with the Microsoft Bluetooth stack (its calls are short) and
// a WLAN adapter at D4, ready to tick; plus an observer that writes down each decision.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_frame.h"
#include "engine/decision_observer.h"
#include "platform/sim/radios.h"
#include "settings/settings_store.h"
#include "tests/support/sim/call_table.h"

// Records decisions as "bt running 1 on" / "wifi default off" / "bt known off".
class DecisionLog : public CDecisionObserver {
  public:
    void OnDecision(const TickDecision& d) override {
        static const char* const kRules[] = {"off", "running", "active", "default", "known"};
        std::string text = d.radio == TickRadio::Bluetooth ? "bt " : "wifi ";
        text += kRules[static_cast<int>(d.rule)];
        if (d.index >= 0)
            text += " " + std::to_string(d.index);
        text += d.on ? " on" : " off";
        decisions.push_back(text);
    }
    void OnTickEnd(bool endedEarly) override { early = endedEarly; }

    std::vector<std::string> decisions;
    bool early = false;
};

// One fresh device with a frame on it; table rows build one each.
struct TickRig {
    TickRig() {
        sim::SetUpBluetooth(device, model::BluetoothStack::Microsoft, false);
        sim::SetUpWifi(device, model::WlanSetUp::Off);
        frame.BTControl = 1;
        frame.SetDecisionObserver(&log);
    }

    void Tick() { frame.MonitorTick(1); }
    // Records platform calls from here on.
    void Record() {
        device.trace.ClearRecords();
        device.trace.Enable(true);
    }

    sim::Device device;
    CSettingsStore store;
    CMainFrame frame{store};
    DecisionLog log;
};

class TickTest : public ::testing::Test, protected TickRig {};
