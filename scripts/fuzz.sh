#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh            # every target, 10 s each (what CI runs)
#   scripts/fuzz.sh 600 reg_file   # one target for ten minutes
# Each target starts from its seed corpus in fuzz/corpus/<name>/ and writes what it finds to a
# scratch corpus in build/fuzz/corpus/<name>/; a crash leaves crash-* files in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
shift || true
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in build/fuzz/fuzz/fuzz_*; do targets+=("$(basename "$exe" | sed 's/^fuzz_//')"); done
fi
for name in "${targets[@]}"; do
  scratch=build/fuzz/corpus/$name
  mkdir -p "$scratch"
  echo "fuzz_$name: ${seconds}s"
  (cd build/fuzz && ./fuzz/fuzz_"$name" -max_total_time="$seconds" -max_len=65536 \
     -print_final_stats=0 "corpus/$name" "../../fuzz/corpus/$name" 2>&1 | tail -n 3)
done
