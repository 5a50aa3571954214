// Cost of one monitor tick on the simulated device: nanoseconds and heap allocations per tick
// for a steady tick (caption unchanged), a changed caption with 100-entry lists, and lists
// growing to 10,000 entries (the cost grows linearly with them). A steady tick with the call
// trace off must allocate nothing; the benchmark reports an error when it does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "bench/tick_bench.h"

namespace {
std::atomic<long long> g_allocations{0};
}

// Every heap allocation of the process is counted here.
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void Report(benchmark::State& state, long long allocations) {
    state.counters["allocs/tick"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

void BM_SteadyTick(benchmark::State& state) {
    TickBench bench(static_cast<int>(state.range(0)));
    bench.frame.MonitorTick(1); // the caption is now known; later ticks see no change
    bench.frame.MonitorTick(1);
    const long long before = g_allocations.load();
    for (auto _ : state)
        bench.frame.MonitorTick(1);
    const long long allocations = g_allocations.load() - before;
    Report(state, allocations);
    if (allocations != 0)
        state.SkipWithError("a steady tick allocated heap memory");
}
BENCHMARK(BM_SteadyTick)->Arg(3)->Arg(100);

// Each tick sees a new caption (two windows take turns in front), so all six lists are
// scanned.
void BM_ChangedCaption(benchmark::State& state) {
    TickBench bench(static_cast<int>(state.range(0)));
    HWND other = bench.device.OpenWindow(TEXT("Inbox - Messages"));
    HWND windows[2] = {bench.window, other};
    int turn = 0;
    long long allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SetForegroundWindow(windows[turn ^= 1]);
        state.ResumeTiming();
        const long long before = g_allocations.load();
        bench.frame.MonitorTick(1);
        allocations += g_allocations.load() - before;
    }
    Report(state, allocations);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ChangedCaption)->Arg(100)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);

void BM_SteadyTickLongLists(benchmark::State& state) {
    TickBench bench(static_cast<int>(state.range(0)));
    bench.frame.MonitorTick(1);
    bench.frame.MonitorTick(1);
    for (auto _ : state)
        bench.frame.MonitorTick(1);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SteadyTickLongLists)->Arg(100)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
