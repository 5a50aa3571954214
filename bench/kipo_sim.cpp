// kipo-sim's speed: a simulated day of the real program at the default interval (1500 ms,
// 57,600 runs of the check timer) with --quiet, as simulated seconds per wall-clock second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>

#include "tools/kipo-sim/kipo_sim_app.h"

namespace {

void RunScenario(benchmark::State& state, const std::string& scenario, double simulatedSeconds) {
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        std::istringstream in(scenario);
        int code = kiposim::RunKipoSim({"--quiet", "-"}, in, sink, sink);
        if (code != 0) {
            state.SkipWithError("the scenario failed");
            break;
        }
    }
    std::fclose(sink);
    state.counters["sim_s_per_wall_s"] = benchmark::Counter(
        simulatedSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The Today screen in front all day: every tick is a steady one.
void BM_DayOnTheTodayScreen(benchmark::State& state) {
    RunScenario(state, "wait 24h\nexpect running\n", 24 * 3600.0);
}
BENCHMARK(BM_DayOnTheTodayScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// A day with lists set, a running-list window (one FindWindowW a tick) and the user moving
// between three programs every ten minutes, so the radios and the keep-alive work too.
void BM_BusyDay(benchmark::State& state) {
    std::string scenario = "setting OnList sz \"#wBrowser;#bPhone\"\n"
                           "setting OnRunList sz \"#bHeadset Player\"\n"
                           "setting OffList sz \"Desktop;#wDesktop\"\n"
                           "setting KeepPDAOn dword 1\n"
                           "open-behind \"Headset Player\"\n"
                           "open-behind \"Browser\"\n"
                           "open-behind \"Phone\"\n";
    for (int hour = 0; hour < 24; ++hour)
        for (int slot = 0; slot < 6; ++slot)
            scenario += slot % 3 == 0   ? "front \"Browser\"\nwait 10m\n"
                        : slot % 3 == 1 ? "today\nwait 10m\n"
                                        : "front \"Phone\"\nwait 10m\n";
    scenario += "expect running\n";
    RunScenario(state, scenario, 24 * 3600.0);
}
BENCHMARK(BM_BusyDay)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
