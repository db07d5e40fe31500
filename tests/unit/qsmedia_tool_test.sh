#!/usr/bin/env bash
# qsmedia as a script author runs it: its command line, and a medium whose file names are not all
# ASCII, laid out and checked by the native qscheck.
# Usage: qsmedia_tool_test.sh QSMEDIA QSCHECK VERSION (the project's, from CMake)
qsmedia=$(realpath "$1") qscheck=$(realpath "$2") version=$3
. "$(dirname "$0")/qscheck_test_lib.sh"

# What was asked for goes to standard output with exit status 0; a wrong command line gets the
# usage on standard error and 64.
while IFS='|' read -r status stream pattern arguments; do
  # shellcheck disable=SC2086  # the arguments split as a shell splits them
  expect_run "qsmedia $arguments" "$status" "$stream" "$pattern" "$qsmedia" $arguments
done <<EOF
0|stdout|usage: qsmedia *|--help
0|stdout|usage: qsmedia *|-h
0|stdout|qsmedia $version|--version
64|stderr|usage: qsmedia *|
64|stderr|usage: qsmedia *|medium.txt
64|stderr|usage: qsmedia *|--version now
64|stderr|usage: qsmedia *|medium.txt out --colour red
EOF

# Setup.exe and the uninstaller are only copied here: any bytes do. The check compares every name
# the dry run declares with what was laid out, Café.txt too.
mkdir -p "$work/programs" "$work/tree/files"
echo setup >"$work/programs/Setup.exe"; echo uninstaller >"$work/programs/QSUninstall.exe"
echo a >"$work/tree/files/a.txt"; echo c >"$work/tree/files/Café.txt"
printf 'app = Demo\nsection "Main" required = files/\n' >"$work/tree/medium.txt"
expect_run "medium with Café.txt" 0 stdout "qsmedia: $work/medium: 3 files on 1 disk(s)*" \
  "$qsmedia" "$work/tree/medium.txt" "$work/medium" --programs "$work/programs" --qscheck "$qscheck"
[ -f "$work/medium/files/Café.txt" ] || fail "medium: no files/Café.txt"
# An output folder named relative to the current one, through "..", as from an unpacked package.
mkdir -p "$work/unpacked/bin"
cd "$work/unpacked/bin" || exit 1
expect_run "medium ../../relative/" 0 stdout "qsmedia: $work/relative: 3 files on 1 disk(s)*" \
  "$qsmedia" ../../tree/medium.txt ../../relative/ --programs ../../programs --qscheck "$qscheck"
cd - >/dev/null || exit 1

finish "qsmedia"
