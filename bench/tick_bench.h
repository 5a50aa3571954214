// The device and frame the tick benchmarks measure: a few windows open, Bluetooth and WiFi set
// up, and a frame whose six lists hold `entries` entries each, none of which matches, so every
// tick scans the running lists to their end.
#pragma once

#include <string>

#include "app/main_frame.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "settings/settings_store.h"

struct TickBench {
    explicit TickBench(int entries) {
        sim::SetUpBluetooth(device, model::BluetoothStack::Microsoft, false);
        sim::SetUpWifi(device, model::WlanSetUp::Off);
        device.OpenWindowBehind(TEXT("Calendar"));
        device.OpenWindowBehind(TEXT("Tasks"));
        window = device.OpenWindow(TEXT("Pocket Word - Document1"));
        frame.BTControl = 1;
        for (int i = 0; i < entries; ++i) {
            const WString n = FromUtf8(std::to_string(i));
            frame.BtOnRunningList.push_back(TEXT("bt running ") + n);
            frame.WifiOnRunningList.push_back(TEXT("wifi running ") + n);
            frame.BtOnActiveList.push_back(TEXT("bt active ") + n);
            frame.WifiOnActiveList.push_back(TEXT("wifi active ") + n);
            frame.BtOffList.push_back(TEXT("bt off ") + n);
            frame.WifiOffList.push_back(TEXT("wifi off ") + n);
        }
    }

    sim::Device device;
    CSettingsStore store;
    CMainFrame frame{store};
    HWND window = nullptr; // the window in front
};
