#!/usr/bin/env bash
# The whole test suite (unit and scenario tests) under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset asan >/dev/null
cmake --build --preset asan
# The soak's week takes six minutes in this Debug build; half a simulated day covers the same
# paths (the full week runs in the sim build).
KIPO_SOAK_HOURS=${KIPO_SOAK_HOURS:-12} \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan
