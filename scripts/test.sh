#!/usr/bin/env bash
# Builds everything and runs every test: the simulated device, then the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset sim
if [ -f scripts/test-windows.sh ]; then
  bash scripts/test-windows.sh
fi
