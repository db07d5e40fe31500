#!/usr/bin/env bash
# Runs the Windows-side tier again and again, to find the tests that depend on the machine's speed
# or on a fresh Wine prefix: COUNT runs (3 unless set), each with BUSY busy loops competing for the
# processors (0 unless set), the first on a new prefix when FRESH is 1. Prints each run's failures
# and a tally per test at the end. Exit status 1 when any run failed.
# Usage: repeat_windows_tier.sh [COUNT] [BUSY] [FRESH]     (from the top of the tree, after make test's build)
set -u
count=${1:-3} busy=${2:-0} fresh=${3:-0}
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top" || exit 2
tally=$(mktemp)
loops=()
stop_loops() { for pid in "${loops[@]}"; do kill "$pid" 2>/dev/null; done; loops=(); }
trap 'stop_loops; rm -f "$tally"' EXIT
for _ in $(seq 1 "$busy"); do
  (while :; do :; done) &
  loops+=($!)
done
failed=0
for run in $(seq 1 "$count"); do
  [ "$run" = 1 ] && [ "$fresh" = 1 ] && rm -rf build/wineprefix
  log=$(mktemp)
  started=$(date +%s)
  tests/wine/with-wine ctest --test-dir build/win64 --output-on-failure >"$log" 2>&1
  status=$?
  echo "run $run of $count ($busy busy loops): exit status $status, $(($(date +%s) - started)) s, $(grep -E '^[0-9]+% tests passed' "$log")"
  grep -E '^\s+[0-9]+ - ' "$log" | tee -a "$tally"
  [ "$status" = 0 ] || { failed=1; cp "$log" "build/repeat-run-$run.log"; echo "  (log: build/repeat-run-$run.log)"; }
  rm -f "$log"
done
echo "== failures per test over $count runs"
sed -E 's/^\s+[0-9]+ - //' "$tally" | sort | uniq -c | sort -rn
exit $failed
