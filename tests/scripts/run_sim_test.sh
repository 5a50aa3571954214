#!/usr/bin/env bash
# scripts/run-sim.sh as a user runs it, from a folder outside the repository:
#   run_sim_test.sh REPO BUILD   (BUILD: a configured tree where kipo-sim is built)
# Relative input and output names resolve from the user's folder; kipo-sim's exit status and
# messages come through; a build that fails shows its errors on standard error; the sim set of
# packages is the one installed for it, and the installing is announced on standard error.
set -uo pipefail
repo="$1"
build="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# run NAME CMD...: runs in the current folder, keeping status, stdout and stderr.
run() {
  local name="$1"; shift
  "$@" >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.code"
}
expect_code() { [ "$(cat "$work/$1.code")" = "$2" ] || fail "$1: exit $(cat "$work/$1.code"), wanted $2; stderr: $(cat "$work/$1.err")"; }
expect_in() { grep -qF -- "$3" "$work/$1.$2" || fail "$1: $2 lacks '$3': $(head -c 2000 "$work/$1.$2")"; }
expect_empty() { [ ! -s "$work/$1.$2" ] || fail "$1: $2 not empty: $(head -c 2000 "$work/$1.$2")"; }

# A user's folder with a scenario and a folder for the outputs.
mkdir -p "$work/home/day/out"
printf 'open "Phone"\nwait 1 tick\nexpect running\n' >"$work/home/day/my-day.kipo"
export KIPO_BUILD_DIR="$build"

cd "$work/home/day"
run relative "$repo/scripts/run-sim.sh" --quiet --svg out/day.svg --save-registry=out/day.reg my-day.kipo
expect_code relative 0
expect_in relative out "Checks     1 held, 0 failed"
expect_empty relative err # a build with nothing to do, no packages to install: silence
[ -s out/day.svg ] && head -c 5 out/day.svg | grep -q "<svg" || fail "relative: out/day.svg not written here"
[ -s out/day.reg ] || fail "relative: out/day.reg not written here"
[ ! -e "$repo/out" ] && [ ! -e "$repo/my-day.kipo" ] || fail "relative: something landed in the repository"

# From a sub-folder, ../ paths; standard input and standard output as '-'.
mkdir -p sub && cd sub
run parent "$repo/scripts/run-sim.sh" --quiet ../my-day.kipo
expect_code parent 0
run stdin_dash "$repo/scripts/run-sim.sh" --quiet --svg - - <../my-day.kipo
expect_code stdin_dash 0
expect_in stdin_dash out "<svg "
expect_in stdin_dash err "Checks     1 held"
cd ..

# kipo-sim's own errors keep their names and status: a missing file, a missing output folder.
run missing "$repo/scripts/run-sim.sh" no-such.kipo
expect_code missing 2
expect_in missing err "kipo-sim: cannot read no-such.kipo: no such file"
run no_folder "$repo/scripts/run-sim.sh" --svg nowhere/day.svg my-day.kipo
expect_code no_folder 2
expect_in no_folder err "kipo-sim: cannot write nowhere/day.svg: no such folder nowhere"
expect_empty no_folder out

# A build that fails: a small copy of the repository's layout with a broken source file, so
# the test stays fast. Its errors reach standard error; the exit status is 3.
fake="$work/fake-repo"
mkdir -p "$fake/scripts" "$fake/tools/kipo-sim"
cp "$repo/scripts/run-sim.sh" "$repo/scripts/install-deps.sh" "$fake/scripts/"
printf 'cmake_minimum_required(VERSION 3.20)\nproject(Fake CXX)\nadd_subdirectory(tools/kipo-sim)\n' >"$fake/CMakeLists.txt"
printf 'add_executable(kipo-sim main.cpp)\n' >"$fake/tools/kipo-sim/CMakeLists.txt"
printf 'int main() { return no_such_name_here; }\n' >"$fake/tools/kipo-sim/main.cpp"
unset KIPO_BUILD_DIR
run broken bash "$fake/scripts/run-sim.sh" my-day.kipo
expect_code broken 3
expect_in broken err "no_such_name_here"
expect_in broken err "error"
expect_in broken err "run-sim.sh: the build of kipo-sim failed"
expect_empty broken out
[ -d "$fake/build/run-sim" ] || fail "broken: not built in the repository's build folder"

# Once mended, the same tree builds and runs from the user's folder.
printf '#include <cstdio>\n#include <unistd.h>\nint main(int argc, char** argv) { char d[4096]; std::printf("%%s %%s\\n", getcwd(d, sizeof d), argc > 1 ? argv[1] : ""); }\n' >"$fake/tools/kipo-sim/main.cpp"
run mended bash "$fake/scripts/run-sim.sh" my-day.kipo
expect_code mended 0
expect_in mended out "$work/home/day my-day.kipo"
expect_empty mended err

# Packages: the sim set alone for run-sim.sh, everything for the test command; what is
# installed is said on standard error. dpkg-query and apt-get are stand-ins here.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\necho "$@" >>"%s/apt.log"\n' "$work" >"$work/bin/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*
PATH="$work/bin:$PATH" run deps_sim bash "$repo/scripts/install-deps.sh" sim
expect_code deps_sim 0
expect_in deps_sim err "install-deps: installing cmake ninja-build g++"
grep -qx -- "install -y -qq --no-install-recommends cmake ninja-build g++" "$work/apt.log" ||
  fail "deps_sim: apt-get got: $(cat "$work/apt.log")"
grep -q "wine\|clang\|valgrind\|gtest" "$work/apt.log" && fail "deps_sim: more than kipo-sim needs: $(cat "$work/apt.log")"
expect_empty deps_sim out
rm -f "$work/apt.log"
PATH="$work/bin:$PATH" run deps_all bash "$repo/scripts/install-deps.sh"
expect_code deps_all 0
for p in cmake g++ libgtest-dev valgrind wine64 fonts-wine; do
  grep -q -- " $p\( \|$\)" "$work/apt.log" || fail "deps_all: $p not installed: $(cat "$work/apt.log")"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "run-sim.sh: all checks held"
