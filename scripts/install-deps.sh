#!/usr/bin/env bash
# Installs the Debian packages a command needs; quick when they are already there.
#
#   install-deps.sh sim   what kipo-sim's build needs (scripts/run-sim.sh)
#   install-deps.sh       everything: the tests, sanitizers, valgrind, fuzzing, benchmarks and
#                         the Windows cross build under Wine (scripts/test.sh and the others)
#
# Says on standard error what it installs; prints nothing when there is nothing to install.
set -euo pipefail

# kipo-sim: a C++20 compiler, CMake and Ninja.
sim_packages=(cmake ninja-build g++)
# The rest of the test command.
test_packages=(
  clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest libbenchmark-dev valgrind
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64 wine xvfb xauth fonts-wine
  unicode-data
)

case "${1:-all}" in
  sim) packages=("${sim_packages[@]}") ;;
  all) packages=("${sim_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: install-deps.sh [sim|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "install-deps: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >&2
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
