// Runs N steady monitor ticks on the simulated device, for callgrind: scripts/bench.sh runs it
// with two tick counts under --toggle-collect on the tick and divides the difference in
// instructions by the difference in ticks, so set-up and the first ticks cancel out and the
// figure repeats exactly from run to run. The device and lists are those of the steady-tick
// benchmark with 100-entry lists (bench/tick.cpp).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_frame.h"
#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "settings/settings_store.h"

int main(int argc, char** argv) {
    const long ticks = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (argc != 2 || ticks < 1) {
        std::fprintf(stderr, "usage: %s TICKS (a positive number)\n", argv[0]);
        return 2;
    }
    sim::Device device;
    sim::SetUpBluetooth(device, model::BluetoothStack::Microsoft, false);
    sim::SetUpWifi(device, model::WlanSetUp::Off);
    device.OpenWindowBehind(TEXT("Calendar"));
    device.OpenWindowBehind(TEXT("Tasks"));
    device.OpenWindow(TEXT("Pocket Word - Document1"));
    CSettingsStore store;
    CMainFrame frame{store};
    frame.BTControl = 1;
    for (int i = 0; i < 100; ++i) {
        const WString n = FromUtf8(std::to_string(i));
        frame.BtOnRunningList.push_back(TEXT("bt running ") + n);
        frame.WifiOnRunningList.push_back(TEXT("wifi running ") + n);
        frame.BtOnActiveList.push_back(TEXT("bt active ") + n);
        frame.WifiOnActiveList.push_back(TEXT("wifi active ") + n);
        frame.BtOffList.push_back(TEXT("bt off ") + n);
        frame.WifiOffList.push_back(TEXT("wifi off ") + n);
    }
    // The first tick sees the caption change; every later one is steady.
    for (long i = 0; i < ticks; ++i)
        frame.MonitorTick(1);
    std::printf("%ld ticks, last caption \"%s\"\n", ticks, ToUtf8(frame.LastCaption).c_str());
    return 0;
}
