#!/usr/bin/env bash
# Valgrind memcheck over every unit-test executable of the simulated-device build (build/sim):
# any invalid access, use of uninitialised memory or definite/indirect leak fails the run.
#   scripts/valgrind.sh                 # every test executable
#   scripts/valgrind.sh test_settings   # some of them
# The soak test runs a shortened span here (KIPO_SOAK_HOURS, 2 unless set); logs go to
# build/sim/valgrind/<executable>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset sim >/dev/null
cmake --build --preset sim
mkdir -p build/sim/valgrind
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for exe in build/sim/tests/test_* build/sim/tests/kipo_portable_tests; do
    [ -x "$exe" ] && names+=("$(basename "$exe")")
  done
fi
failed=()
for name in "${names[@]}"; do
  log=build/sim/valgrind/$name.log
  start=$SECONDS
  if (cd build/sim/tests && KIPO_SOAK_HOURS=${KIPO_SOAK_HOURS:-2} \
      valgrind --tool=memcheck --error-exitcode=99 --leak-check=full \
        --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect \
        --num-callers=30 "./$name" --gtest_brief=1) >"$log" 2>&1; then
    echo "valgrind $name: clean ($((SECONDS - start)) s)"
  else
    echo "valgrind $name: FAILED ($((SECONDS - start)) s), see $log"
    grep -E "^==[0-9]+== (Invalid|Conditional|Use of|[0-9,]+ bytes in)" "$log" | head -n 5 || true
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "valgrind: failures in ${failed[*]}"
  exit 1
fi
echo "valgrind: all ${#names[@]} executables clean"
