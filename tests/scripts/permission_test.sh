#!/usr/bin/env bash
# kipo-sim refused by file permissions, as an ordinary user meets them: the superuser reads and
# writes everything, so the test runs kipo-sim as the user nobody (setpriv).
#   permission_test.sh KIPO_SIM     exit 77: skipped (not the superuser here)
set -uo pipefail
sim="$1"
[ "$(id -u)" -eq 0 ] || exit 77
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
# check NAME WANTED-STDERR ARGS...: exit 2 and exactly that message, nothing run.
check() {
  local name="$1" wanted="$2"; shift 2
  as_nobody "$sim" "$@" >"$work/$name.out" 2>"$work/$name.err"
  local code=$?
  [ "$code" = 2 ] || fail "$name: exit $code"
  [ "$(cat "$work/$name.err")" = "$wanted" ] || fail "$name: stderr '$(cat "$work/$name.err")'"
  [ ! -s "$work/$name.out" ] || fail "$name: it ran: $(head -c 500 "$work/$name.out")"
}

# A build tree the user nobody cannot reach (a private home folder) leaves nothing to test.
if ! as_nobody "$sim" --version >/dev/null 2>&1; then
  echo "skipped: nobody cannot run $sim"
  exit 77
fi

printf 'wait 1s\n' >"$work/day.kipo"
chmod 644 "$work/day.kipo"
cp "$work/day.kipo" "$work/private.kipo"
chmod 600 "$work/private.kipo"
mkdir -m 755 "$work/locked"
touch "$work/kept.svg"
chmod 644 "$work/kept.svg"

check unreadable "kipo-sim: cannot read $work/private.kipo: permission denied" "$work/private.kipo"
check folder_locked "kipo-sim: cannot write $work/locked/day.svg: permission denied" \
  --svg "$work/locked/day.svg" "$work/day.kipo"
check file_locked "kipo-sim: cannot write $work/kept.svg: permission denied" \
  --save-registry "$work/kept.svg" "$work/day.kipo"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "permissions: all checks held"
