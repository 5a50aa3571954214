#!/usr/bin/env bash
# Builds the Windows executables with mingw-w64 and runs their tests under Wine, on a virtual X
# display (Xvfb). Called by scripts/test.sh after the simulated-device tests.
#
# The build tree is build/mingw (KIPO_MINGW_BUILD chooses another); its Wine prefix lives inside
# it. Needs no terminal: every Wine process reads /dev/null.
set -euo pipefail
cd "$(dirname "$0")/.."

wine_quiet() { "$@" </dev/null >/dev/null 2>&1; }

# Creates the prefix once: a virtual desktop (without a window manager the first dialog and the
# notification icon stall and windows have no frames) and no crash dialog (it would wait for a
# click that never comes and hold the run until the timeout).
prepare_prefix() {
    if [ -f "$WINEPREFIX/.kipo-ready" ]; then
        return
    fi
    echo "Preparing the Wine prefix (first start takes a while)"
    wine_quiet wineboot -i
    wine_quiet wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    wine_quiet wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
    wine_quiet wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    # Let the server write the registry and end, so the next start reads the new values.
    wineserver -w
    touch "$WINEPREFIX/.kipo-ready"
}

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
