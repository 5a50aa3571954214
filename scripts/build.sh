#!/usr/bin/env bash
# Configures and builds the simulated-device build in build/ (Release with debug info).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset sim >/dev/null
cmake --build --preset sim
