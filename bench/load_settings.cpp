// LoadSettings and rule-list building on large list texts: the whole of LoadSettings with a
// list text of 2^20 characters holding 100,000 entries, and list building at several sizes,
// whose times should grow in proportion to the text (the reported complexity is O(N)).
#include <benchmark/benchmark.h>

#include <string>

#include "app/main_frame.h"
#include "platform/sim/device.h"
#include "settings/rule_lists.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"

namespace {

// `entries` entries of mixed case with prefixes on some ("#W..." every third, "#b..." every
// fifth), padded in the last entry to `length` characters when that is longer.
WString ListText(int entries, std::size_t length = 0) {
    WString text;
    text.reserve(length > 0 ? length : static_cast<std::size_t>(entries) * 12);
    for (int i = 0; i < entries; ++i) {
        if (i % 3 == 0)
            text += TEXT("#W");
        else if (i % 5 == 0)
            text += TEXT("#b");
        text += FromUtf8("App " + std::to_string(i));
        if (i + 1 < entries)
            text.push_back(u';');
    }
    while (text.size() < length)
        text.push_back(u'x');
    text.push_back(u';');
    return text;
}

void BM_LoadSettingsMebibyteList(benchmark::State& state) {
    sim::Device device;
    CSettingsStore store;
    store.SetRegistryKey(RegistryKeyWord);
    const WString big = ListText(100000, (1u << 20) - 1);
    store.WriteProfileString(SettingsSection, OnListValue.name, big.c_str());
    CMainFrame frame(store);
    frame.m_bAutoDelete = FALSE;
    for (auto _ : state) {
        frame.LoadSettings();
        benchmark::DoNotOptimize(frame.BtOnActiveList.data());
    }
    if (frame.BtOnActiveList.size() + frame.WifiOnActiveList.size() != 100000)
        state.SkipWithError("the lists do not hold the 100,000 entries");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(big.size() * sizeof(WCHAR)));
    state.counters["entries"] = 100000;
}
BENCHMARK(BM_LoadSettingsMebibyteList)->Unit(benchmark::kMillisecond);

void BM_BuildRuleLists(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    const WString text = ListText(entries);
    RuleList bluetooth;
    RuleList wifi;
    for (auto _ : state) {
        BuildRuleLists(text, 0, bluetooth, wifi);
        benchmark::DoNotOptimize(bluetooth.data());
        benchmark::DoNotOptimize(wifi.data());
    }
    state.SetComplexityN(static_cast<std::int64_t>(text.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * entries);
}
BENCHMARK(BM_BuildRuleLists)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 18)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
