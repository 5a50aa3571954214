#!/usr/bin/env bash
# The performance figures of docs/performance.md, measured on this machine in one run:
# ns and heap allocations per steady tick and per changed-caption tick (100- and 10,000-entry
# lists), LoadSettings with 100,000 entries, kipo-sim's simulated seconds per wall second, the
# CPU time of a simulated year of the busy day, and callgrind's instruction count of one steady
# tick.
#   scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset sim >/dev/null
cmake --build --preset sim --target bench_tick bench_load_settings bench_kipo_sim \
  bench_tick_instructions kipo-sim
# kipo-sim as shipped to users who only run scenarios: Release, optimised across files.
cmake --preset release >/dev/null
cmake --build --preset release --target kipo-sim
bench=build/sim/bench
echo "== $(date -u +%Y-%m-%dT%H:%MZ) on $(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "== monitor tick (ns per tick, allocs/tick = heap allocations per tick)"
"$bench/bench_tick" --benchmark_filter='^BM_SteadyTick/100$|^BM_ChangedCaption/(100|10000)$' \
  --benchmark_counters_tabular=true 2>&1 | grep -v '^\*\*\*'
echo "== LoadSettings, one list text of 100,000 entries"
"$bench/bench_load_settings" --benchmark_filter='^BM_LoadSettingsMebibyteList' 2>&1 |
  grep -v '^\*\*\*'
echo "== kipo-sim, a simulated day (sim_s_per_wall_s = simulated seconds per wall second)"
"$bench/bench_kipo_sim" --benchmark_counters_tabular=true 2>&1 | grep -v '^\*\*\*'
echo "== kipo-sim, a simulated year of the busy day (BM_BusyDay's scenario, 365 days in one run)"
year=$(mktemp)
{
  printf '%s\n' 'setting OnList sz "#wBrowser;#bPhone"' 'setting OnRunList sz "#bHeadset Player"' \
    'setting OffList sz "Desktop;#wDesktop"' 'setting KeepPDAOn dword 1' \
    'open-behind "Headset Player"' 'open-behind "Browser"' 'open-behind "Phone"'
  for _ in $(seq $((365 * 24 * 2))); do
    printf '%s\n' 'front "Browser"' 'wait 10m' 'today' 'wait 10m' 'front "Phone"' 'wait 10m'
  done
  echo 'expect running'
} >"$year"
for build in sim release; do
  /usr/bin/time -f "build/$build: %U s user, %S s system CPU, %e s wall" \
    "build/$build/tools/kipo-sim/kipo-sim" --quiet "$year" >/dev/null
done
rm -f "$year"
echo "== callgrind: instructions of one steady tick"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
instructions() {
  valgrind --tool=callgrind --toggle-collect='CMainFrame::MonitorTick*' \
    --callgrind-out-file="$out/ticks.$1" "$bench/bench_tick_instructions" "$1" >/dev/null 2>&1
  sed -n 's/^summary: *//p; s/^totals: *//p' "$out/ticks.$1" | head -n 1
}
few=$(instructions 1000)
many=$(instructions 2000)
echo "1000 ticks: $few instructions; 2000 ticks: $many instructions"
echo "one steady tick: $(((many - few) / 1000)) instructions"
