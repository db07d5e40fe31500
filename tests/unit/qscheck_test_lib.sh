# Sourced by the tools' shell tests: a work directory removed at exit, and failures counted.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect_run NAME STATUS STREAM PATTERN COMMAND... — runs COMMAND; checks its exit status, that what
# it writes to STREAM (stdout or stderr) matches the shell PATTERN, and that the other stream is empty.
expect_run() {
  local name=$1 expected=$2 stream=$3 pattern=$4 other=stderr
  shift 4
  [ "$stream" = stderr ] && other=stdout
  "$@" >"$work/run.stdout" 2>"$work/run.stderr"
  local status=$?
  [ "$status" = "$expected" ] || fail "$name: exit $status, expected $expected"
  [[ $(cat "$work/run.$stream") == $pattern ]] || fail "$name: $stream is '$(head -c 200 "$work/run.$stream")'"
  if [ -s "$work/run.$other" ]; then fail "$name: $other is '$(head -c 200 "$work/run.$other")'"; fi
}

# finish NAME — the verdict, as the exit status.
finish() {
  [ $failures = 0 ] && echo "$1: all checks passed"
  exit $((failures > 0))
}
