#!/usr/bin/env bash
# make test's tiers: the native unit tests, the Windows-side tests under Wine and the fuzz targets
# over their seeds. Every tier runs even when an earlier one failed; at the end one line per tier
# says how it went (ctest's own summary), and the exit status is 1 when any tier failed.
# Usage: run_tiers.sh JOBS NATIVE_DIR WIN64_DIR FUZZ_DIR WITH_WINE
set -u
jobs=$1 native=$2 win64=$3 fuzz=$4 with_wine=$5
summaries=$(mktemp)
trap 'rm -f "$summaries"' EXIT
failed=0

# tier NAME COMMAND... — runs one tier, keeps ctest's summary line (or why there is none).
tier() {
  local name=$1 output status summary
  shift
  echo "== $name"
  output=$(mktemp)
  "$@" 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  summary=$(grep -E '^[0-9]+% tests passed' "$output" | tail -1)
  [ -n "$summary" ] || summary="no summary (exit status $status)"
  [ "$status" = 0 ] || failed=1
  printf '%-40s %s%s\n' "$name:" "$summary" "$([ "$status" = 0 ] || echo "  FAILED")" >>"$summaries"
  grep -E '^\s+[0-9]+ - .* \((Failed|Timeout|Not Run|SEGFAULT|Exception|Subprocess aborted)\)' "$output" |
    sed 's/^/    /' >>"$summaries"
  rm -f "$output"
}

tier "native unit tests" ctest --test-dir "$native" --output-on-failure -j"$jobs"
tier "Windows-side tests under Wine" "$with_wine" ctest --test-dir "$win64" --output-on-failure
tier "fuzz targets over their seed corpora" ctest --test-dir "$fuzz" --output-on-failure

echo "== summary"
cat "$summaries"
exit $failed
