#!/usr/bin/env bash
# Runs the native qscheck and qscheck.exe (under Wine) over the given scripts, as `statements` and as
# `lint --json`, and fails when any output bytes or exit status differ. Missing scripts are compared too (message and status 1).
# The command line alone is compared as well: --help, --version and a wrong one.
# Usage: qscheck_matches_native.sh NATIVE_QSCHECK WINDOWS_QSCHECK_EXE SCRIPT...
set -u
native=$1 windows=$2
shift 2
run_wine="$(dirname "$0")/../wine/wine-run"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
count=0

# compare NAME ARGUMENTS... — runs both with the arguments and compares standard output and status.
compare() {
  local name=$1
  shift
  "$native" "$@" >"$out/native" 2>"$out/native.err"; native_rc=$?
  "$run_wine" "$windows" "$@" >"$out/windows" 2>"$out/windows.err"; windows_rc=$?
  count=$((count + 1))
  if [ "$native_rc" != "$windows_rc" ]; then
    echo "FAIL $name: exit status $native_rc (native) vs $windows_rc (Windows)"; status=1; return
  fi
  if ! cmp -s "$out/native" "$out/windows"; then
    echo "FAIL $name: output differs"; diff "$out/native" "$out/windows" | head -20; status=1; return
  fi
  echo "ok   $name ($(wc -c <"$out/native") bytes, exit $native_rc)"
}

for arguments in --help --version "plan"; do
  # shellcheck disable=SC2086  # the arguments split as a shell splits them
  compare "qscheck $arguments" $arguments
done
for script in "$@"; do
  compare "$(basename "$script") (statements)" statements "$script"
  compare "$(basename "$script") (lint)" lint "$script" --json
done
echo "$count runs compared"
exit $status
