#!/usr/bin/env bash
# kipo-sim, built when needed: `scripts/run-sim.sh ARGS` is `kipo-sim ARGS` run where you are.
# File names are yours (relative ones resolve from your current folder, outputs land where
# you say), and so are kipo-sim's output and exit status (see kipo-sim --help).
#
# The build is quiet when it works. Before it, the packages kipo-sim's build needs are
# installed if missing (saying so on standard error); a build that fails shows its errors on
# standard error and exits with 3. The build tree is build/run-sim in the repository (only
# kipo-sim and what it needs, no tests); KIPO_BUILD_DIR chooses another.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KIPO_BUILD_DIR:-$repo/build/run-sim}"

bash "$repo/scripts/install-deps.sh" sim

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
build_kipo_sim() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKIPO_BUILD_TESTS=OFF -DKIPO_BUILD_BENCH=OFF || return
  fi
  cmake --build "$build" --target kipo-sim
}
if ! build_kipo_sim >"$log" 2>&1; then
  cat "$log" >&2
  echo "run-sim.sh: the build of kipo-sim failed (in $build)" >&2
  exit 3
fi
rm -f "$log"
trap - EXIT
exec "$build/tools/kipo-sim/kipo-sim" "$@"
