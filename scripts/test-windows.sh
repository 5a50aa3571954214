#!/usr/bin/env bash
# Builds the Windows executables with mingw-w64 and runs their tests under Wine, on a virtual X
# display (Xvfb). Called by scripts/test.sh after the simulated-device tests.
#
# The build tree is build/mingw (KIPO_MINGW_BUILD chooses another); its Wine prefix lives inside
# it. Needs no terminal: every Wine process reads /dev/null.
set -euo pipefail
cd "$(dirname "$0")/.."

source "$PWD/scripts/wine-prefix.sh"

# Runs on the virtual display.
inside_display() {
    local build="$1"
    prepare_prefix
    # One persistent server and one finished program before ctest: the services Wine starts
    # then do not inherit ctest's pipes (which made ctest wait for them), and each test starts
    # in well under a second.
    wineserver -p
    trap 'wineserver -k 2>/dev/null || true' EXIT
    wine_quiet wine cmd /c exit
    ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 300 </dev/null
}

if [ "${1:-}" = "--inside-display" ]; then
    inside_display "$2"
    exit
fi

bash scripts/install-deps.sh
build="${KIPO_MINGW_BUILD:-build/mingw}"
mkdir -p "$build"
# One run at a time per build tree: a second would share its Wine server.
exec 9>"$build/.test-windows.lock"
flock 9

cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j "${KIPO_JOBS:-2}"

prefix="$(sed -n 's/^KIPO_WINEPREFIX:PATH=//p' "$build/CMakeCache.txt")"
export WINEPREFIX="${prefix:-$PWD/$build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# A server left by an earlier run (perhaps one without a display) must not serve this one;
# it takes a moment to go, and a program started meanwhile would reach the dying server.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

xvfb-run -a -s "-screen 0 1024x768x24" -e "$build/xvfb.log" \
    bash "$PWD/scripts/test-windows.sh" --inside-display "$build"
