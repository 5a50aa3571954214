// Runs N steady monitor ticks on the simulated device, for callgrind: scripts/bench.sh runs it
// with two tick counts under --toggle-collect on the tick and divides the difference in
// instructions by the difference in ticks, so set-up and the first ticks cancel out and the
// figure repeats exactly from run to run. The device and lists are those of the steady-tick
// benchmark with 100-entry lists (bench/tick_bench.h).
#include <cstdio>
#include <cstdlib>

#include "bench/tick_bench.h"

int main(int argc, char** argv) {
    const long ticks = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (argc != 2 || ticks < 1) {
        std::fprintf(stderr, "usage: %s TICKS (a positive number)\n", argv[0]);
        return 2;
    }
    TickBench bench(100);
    // The first tick sees the caption change; every later one is steady.
    for (long i = 0; i < ticks; ++i)
        bench.frame.MonitorTick(1);
    std::printf("%ld ticks, last caption \"%s\"\n", ticks, ToUtf8(bench.frame.LastCaption).c_str());
    return 0;
}
