// Parsed scenarios run through kipo-sim on a fresh simulated device with the real program:
// whatever the steps, the run ends with exit status 0 or 1, and never crashes, aborts, hangs
// or grows without bound. Simulated time and steps are capped so that each input runs in
// milliseconds; the caps leave room for every step, a program that is never idle (a check
// timer of 1 ms waking an absent adapter) and a few thousand ticks.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tools/kipo-sim/runner.h"
#include "tools/kipo-sim/scenario_error.h"
#include "tools/kipo-sim/scenario_parser.h"

namespace {

constexpr std::size_t kMaxSteps = 200;
constexpr std::uint64_t kMaxWaitMs = 10 * 60 * 1000; // ten simulated minutes in all
constexpr std::uint64_t kMaxTicks = 200;             // waits by ticks, in all

bool WithinBounds(const kiposim::Scenario& scenario) {
    if (scenario.steps.size() > kMaxSteps)
        return false;
    std::uint64_t waited = 0;
    std::uint64_t ticks = 0;
    for (const kiposim::Step& step : scenario.steps) {
        // Only waits carry a duration or a number of ticks; compared before adding, so that
        // huge numbers cannot wrap the sums.
        if (step.durationMs > kMaxWaitMs - waited || step.ticks > kMaxTicks - ticks)
            return false;
        waited += step.durationMs;
        ticks += step.ticks;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kiposim::Scenario scenario;
    try {
        scenario = kiposim::ParseScenario(text, "fuzz");
    } catch (const kiposim::ScenarioError&) {
        return 0; // the parser has a target of its own
    }
    if (!WithinBounds(scenario))
        return 0;
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    if (sink == nullptr)
        std::abort();
    kiposim::Options options;
    options.quiet = true;
    kiposim::Runner runner(scenario, options, sink);
    const kiposim::RunResult result = runner.Run();
    if (result.exitCode != 0 && result.exitCode != 1)
        std::abort(); // 2 is for input that cannot be read, and this input was read
    if (result.exitCode == 0 && (result.checksFailed > 0 || result.stepFailed))
        std::abort();
    const auto checks = static_cast<std::size_t>(result.checksHeld + result.checksFailed);
    if (checks > scenario.steps.size())
        std::abort();
    return 0;
}
