// The window system under a simulated day: a window with a 1500 ms timer whose every WM_TIMER
// reads the foreground caption and looks up a few captions, while the outside world opens,
// fronts and closes windows every minute. Measures the cost of one simulated day (57,600
// ticks); the target is well under a second. Also the look-up costs with many windows open.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/sim/device.h"
#include "platform/sim/message_loop.h"

namespace {

int g_ticks = 0;

LRESULT CALLBACK TickProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        ++g_ticks;
        WCHAR caption[256];
        GetWindowTextW(GetForegroundWindow(), caption, 256);
        benchmark::DoNotOptimize(FindWindowW(nullptr, TEXT("bluetooth console")));
        benchmark::DoNotOptimize(FindWindowW(nullptr, TEXT("inbox")));
        benchmark::DoNotOptimize(FindWindowW(nullptr, TEXT("calendar")));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeTickWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TickProc;
    wc.lpszClassName = TEXT("BenchTick");
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, TEXT("BenchTick"), TEXT("Kipo"), 0, 0, 0, 1, 1, nullptr,
                                  nullptr, nullptr, nullptr);
    SetTimer(window, 1, 1500, nullptr);
    return window;
}

void BM_SimulatedDay(benchmark::State& state) {
    constexpr std::uint64_t kDay = 24ull * 60 * 60 * 1000;
    for (auto _ : state) {
        sim::Device device;
        MakeTickWindow();
        const WString captions[] = {TEXT("Inbox"), TEXT("Calendar"), TEXT("Internet Explorer")};
        for (std::uint64_t minute = 1; minute * 60000 < kDay; ++minute) {
            const WString& caption = captions[minute % 3];
            device.scheduler.At(minute * 60000, [&device, caption, minute] {
                if (minute % 2 == 1)
                    device.OpenWindow(caption);
                else
                    device.Close(caption);
            });
        }
        device.scheduler.At(kDay, [] {});
        g_ticks = 0;
        sim::RunMessageLoop();
        if (g_ticks != static_cast<int>(kDay / 1500))
            state.SkipWithError("the timer did not tick once per period");
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kDay / 1500));
}
BENCHMARK(BM_SimulatedDay)->Unit(benchmark::kMillisecond);

// FindWindowW with N top-level windows open, the wanted one at the back: linear in N.
void BM_FindWindowAmong(benchmark::State& state) {
    sim::Device device;
    device.OpenWindow(TEXT("Wanted Window"));
    for (int i = 0; i < state.range(0); ++i)
        device.OpenWindow(FromUtf8("Window " + std::to_string(i)));
    for (auto _ : state)
        benchmark::DoNotOptimize(FindWindowW(nullptr, TEXT("wanted window")));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FindWindowAmong)->RangeMultiplier(4)->Range(4, 1024)->Complexity(benchmark::oN);

// GetWindowTextW of a 64,000-unit caption into a 256-unit buffer: bounded by the buffer.
void BM_LongCaptionRead(benchmark::State& state) {
    sim::Device device;
    HWND window = device.OpenWindow(WString(64000, WCHAR('x')));
    WCHAR buffer[256];
    for (auto _ : state)
        benchmark::DoNotOptimize(GetWindowTextW(window, buffer, 256));
}
BENCHMARK(BM_LongCaptionRead);

} // namespace

BENCHMARK_MAIN();
