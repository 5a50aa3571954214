#!/usr/bin/env bash
# Builds kipo-sim and runs it; with no arguments, the built-in scenario.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
exec build/sim/tools/kipo-sim/kipo-sim "$@"
