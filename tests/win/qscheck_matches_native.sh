#!/usr/bin/env bash
# Runs the native qscheck and qscheck.exe (under Wine) over the given scripts, as `statements` and as
# `lint --json`, and fails when any output bytes or exit status differ. Missing scripts are compared too (message and status 1).
# Usage: qscheck_matches_native.sh NATIVE_QSCHECK WINDOWS_QSCHECK_EXE SCRIPT...
set -u
native=$1 windows=$2
shift 2
run_wine="$(dirname "$0")/../wine/wine-run"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0
count=0
for script in "$@"; do
  for verb in statements lint; do
    name="$(basename "$script") ($verb)"
    options=(); [ $verb = lint ] && options=(--json)
    "$native" $verb "$script" "${options[@]}" >"$out/native" 2>"$out/native.err"; native_rc=$?
    "$run_wine" "$windows" $verb "$script" "${options[@]}" >"$out/windows" 2>"$out/windows.err"; windows_rc=$?
    count=$((count + 1))
    if [ "$native_rc" != "$windows_rc" ]; then
      echo "FAIL $name: exit status $native_rc (native) vs $windows_rc (Windows)"; status=1; continue
    fi
    if ! cmp -s "$out/native" "$out/windows"; then
      echo "FAIL $name: output differs"; diff "$out/native" "$out/windows" | head -20; status=1; continue
    fi
    echo "ok   $name ($(wc -c <"$out/native") bytes, exit $native_rc)"
  done
done
echo "$count runs compared"
exit $status
