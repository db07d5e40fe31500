#!/usr/bin/env bash
# qscheck lint as a script author and qsmedia use it: silent on the demo, no errors on the e2e
# scripts but the one Setup.exe rejects, --sp over real files, --json, exit statuses.
# Usage: qscheck_lint_test.sh QSCHECK SOURCE_DIR
qscheck=$(realpath "$1") source=$(realpath "$2")
. "$(dirname "$0")/qscheck_test_lib.sh"

out=$("$qscheck" lint "$source/examples/demo/SetupScript.ini") || fail "demo: exit status $?"
[ -z "$out" ] || fail "demo: $out"

for script in "$source"/tests/e2e/*.ini; do
  out=$("$qscheck" lint "$script"); status=$?
  case $(basename "$script") in
    syntax_error.ini) expected=1  # ShowWelcome("x") on line 2 stops Setup.exe (the message: lint_test)
      [[ $out == "$script:2:1: error: "*" [argument-count]" ]] || fail "syntax error: $out" ;;
    *) expected=0 ;;
  esac
  [ $status = $expected ] || fail "$script: exit $status: $out"
done

mkdir -p "$work/medium/files"; : >"$work/medium/files/a.txt"
printf 'CreateSection("M","1","0","d");\nAddFile("[SP]\\files\\*.txt","[DP]\\","M","0","1","0","0","0","0","");\nAddFile("files\\b.txt","[DP]\\","M","0","1","0","0","0","0","");\n' >"$work/S.ini"
cd "$work" || exit 1
out=$("$qscheck" lint S.ini --sp medium --json); status=$?
[ $status = 0 ] || fail "--sp: exit status $status"
[ "$out" = "[{\"file\":\"S.ini\",\"line\":3,\"column\":9,\"severity\":\"warning\",\"check\":\"missing-files\",\"message\":\"no file matches '$work/medium\\\\files\\\\b.txt'\",\"count\":1}]" ] ||
  fail "--sp --json: $out"
[ -z "$("$qscheck" lint S.ini)" ] || fail "without --sp no file is looked for"

# A setup directory and file names in UTF-8: JSON shows them as they are; a name that code page
# 1252 cannot hold is found with '?' and reported.
mkdir -p "$work/Médium/files"; : >"$work/Médium/files/Łódź.txt"
out=$("$qscheck" lint S.ini --sp Médium --json)
[[ $out == *"\"line\":2,\"column\":9,\"severity\":\"warning\",\"check\":\"file-name-code-page\",\"message\":\"the name of the file '?ód?.txt' has"* ]] ||
  fail "--sp with UTF-8 names: $out"
[[ $out == *"\"message\":\"no file matches '$work/Médium\\\\files\\\\b.txt'\""* ]] || fail "--sp in UTF-8: $out"

"$qscheck" lint "$work/missing.ini" >/dev/null 2>&1
[ $? = 1 ] || fail "missing script: exit status"
"$qscheck" lint S.ini --sp >/dev/null 2>&1
[ $? = 64 ] || fail "--sp without a directory: exit status"

finish "qscheck lint"
