#!/usr/bin/env bash
# kipo-sim on a real terminal (a pseudo-terminal from `script`): isatty decides colour and
# progress, NO_COLOR turns colour off, and a file or pipe gets neither.
#   terminal_test.sh KIPO_SIM
set -uo pipefail
sim="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# A check that fails after a day of ticks: long enough for the progress line to be drawn.
printf 'wait 24h\nexpect running\nexpect bt on\n' >"$work/day.kipo"
esc=$'\033'
export KIPO_SIM_PROGRESS_AFTER_MS=0
unset NO_COLOR

# on_terminal NAME COMMAND: runs COMMAND with its streams on a pseudo-terminal.
on_terminal() {
  script -qec "$2" /dev/null </dev/null >"$work/$1.tty" 2>&1
  echo $? >"$work/$1.code"
}
has() { grep -qF -- "$3" "$work/$1.$2"; }

on_terminal both "'$sim' '$work/day.kipo'"
[ "$(cat "$work/both.code")" = 1 ] || fail "both: exit $(cat "$work/both.code")"
has both tty "${esc}[1;31mFAILED${esc}[0m line 3" || fail "both: no red FAILED: $(cat -v "$work/both.tty")"
has both tty "${esc}[32mholds${esc}[0m" || fail "both: no green holds"
has both tty "${esc}[Kkipo-sim: " || fail "both: no progress line: $(cat -v "$work/both.tty")"

# Standard error into a file: no progress there; standard output still a terminal.
on_terminal err_file "'$sim' '$work/day.kipo' 2>'$work/err_file.err'"
has err_file tty "${esc}[1;31mFAILED" || fail "err_file: no colour on the terminal"
[ ! -s "$work/err_file.err" ] || fail "err_file: progress into a file: $(cat -v "$work/err_file.err")"

# Standard output into a pipe: no colour; progress still on the terminal's standard error.
on_terminal out_pipe "'$sim' '$work/day.kipo' | cat >'$work/out_pipe.out'"
grep -q "$esc" "$work/out_pipe.out" && fail "out_pipe: colour into a pipe: $(cat -v "$work/out_pipe.out")"
grep -qF "FAILED line 3" "$work/out_pipe.out" || fail "out_pipe: no report"
has out_pipe tty "${esc}[Kkipo-sim: " || fail "out_pipe: no progress on the terminal"

# NO_COLOR: no colour even on a terminal.
on_terminal no_color "NO_COLOR=1 '$sim' '$work/day.kipo'"
has no_color tty "FAILED line 3" || fail "no_color: no report"
has no_color tty "${esc}[1;31m" && fail "no_color: colour despite NO_COLOR"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "terminal: all checks held"
