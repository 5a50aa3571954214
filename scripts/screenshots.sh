#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots: the real Kipo.exe under Wine on a virtual display,
# driven by tests/wine/kipo_driver: the settings dialog holding values a user would have stored
# (its "showcase" scenario), then find-window mode's instruction and Window Found dialog.
# Builds only Kipo.exe and the driver (scripts/test-windows.sh builds and runs every Wine
# test); the prefix is the one test-windows.sh uses, with Wine's own fonts installed in it so
# the title bar's buttons are drawn (Marlett). Needs python3 for the PNG files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build="${KIPO_MINGW_BUILD:-build/mingw}"
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" --target Kipo kipo_driver >/dev/null
prefix="$(sed -n 's/^KIPO_WINEPREFIX:PATH=//p' "$build/CMakeCache.txt")"
export WINEPREFIX="${prefix:-$PWD/$build/wineprefix}" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
shots="$PWD/$build/screenshots"
rm -rf "$shots" && mkdir -p "$shots"
kipo="Z:$PWD/$build/Kipo.exe"
driver="$PWD/$build/tests/wine/kipo_driver.exe"
winshots="Z:${shots//\//\\}"
# One run at a time per build tree (shared with test-windows.sh): a second would share its
# Wine server.
exec 9>"$build/.test-windows.lock"
flock 9
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    source scripts/wine-prefix.sh
    prepare_prefix
    wineserver -p
    trap "wineserver -k 2>/dev/null || true" EXIT
    wine_quiet wine cmd /c exit
    for scenario in showcase find; do
        wine "$0" "$1" "$scenario" "$2" </dev/null
    done' "$driver" "$kipo" "$winshots"
python3 scripts/bmp-to-png.py "$shots"/*.bmp >/dev/null
mkdir -p docs/screenshots
cp "$shots"/*.png docs/screenshots/
ls docs/screenshots
