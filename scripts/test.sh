#!/usr/bin/env bash
# Builds everything and runs every test: the simulated device, the same suite under
# AddressSanitizer and UBSan, valgrind memcheck over the unit tests (about 30 s after the
# build), short fuzz runs, then the Windows build under Wine.
# KIPO_QUICK=1 runs the simulated-device suite alone (for a fast local loop).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset sim
if [ "${KIPO_QUICK:-0}" = 1 ]; then
  exit 0
fi
bash scripts/sanitize.sh
bash scripts/valgrind.sh
bash scripts/fuzz.sh "${KIPO_FUZZ_SECONDS:-5}"
bash scripts/test-windows.sh
