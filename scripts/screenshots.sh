#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots: the real Kipo.exe under Wine on a virtual display,
# driven through the settings dialog and find-window mode. Builds and tests first
# (scripts/test-windows.sh); needs python3 for the PNG files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/test-windows.sh
build="${KIPO_MINGW_BUILD:-build/mingw}"
prefix="$(sed -n 's/^KIPO_WINEPREFIX:PATH=//p' "$build/CMakeCache.txt")"
export WINEPREFIX="${prefix:-$PWD/$build/wineprefix}" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
shots="$PWD/$build/screenshots"
rm -rf "$shots" && mkdir -p "$shots"
kipo="Z:$PWD/$build/Kipo.exe"
driver="$PWD/$build/tests/wine/kipo_driver.exe"
winshots="Z:${shots//\//\\}"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wineserver -p
    trap "wineserver -k 2>/dev/null || true" EXIT
    wine cmd /c exit </dev/null >/dev/null 2>&1
    for scenario in settings find; do
        wine "$0" "$1" "$scenario" "$2" </dev/null
    done' "$driver" "$kipo" "$winshots"
python3 scripts/bmp-to-png.py "$shots"/*.bmp >/dev/null
mkdir -p docs/screenshots
cp "$shots"/*.png docs/screenshots/
ls docs/screenshots
