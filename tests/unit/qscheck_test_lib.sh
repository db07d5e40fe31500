# Sourced by the qscheck tests: a work directory removed at exit, and failures counted.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# finish NAME — the verdict, as the exit status.
finish() {
  [ $failures = 0 ] && echo "$1: all checks passed"
  exit $((failures > 0))
}
