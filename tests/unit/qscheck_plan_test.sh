#!/usr/bin/env bash
# qscheck plan as a script author uses it: over the demo medium, and its exit codes; the command
# line's --help and --version.
# Usage: qscheck_plan_test.sh QSCHECK DEMO_DIR VERSION (the project's, from CMake)
qscheck=$(realpath "$1") demo=$(realpath "$2") version=$3
. "$(dirname "$0")/qscheck_test_lib.sh"

# expect_plan NAME EXPECTED_EXIT SCRIPT_TEXT [OPTIONS...] — runs plan over the text, checks the
# exit status; the JSON is left in $work/out.json.
expect_plan() {
  local name=$1 expected=$2 text=$3
  shift 3
  printf '%s' "$text" >"$work/SetupScript.ini"
  "$qscheck" plan "$work/SetupScript.ini" "$@" >"$work/out.json" 2>"$work/err"
  local status=$?
  [ "$status" = "$expected" ] || fail "$name: exit $status, expected $expected"
}
has() { grep -qF -- "$1" "$work/out.json" || fail "$2: no $1 in $(head -c 300 "$work/out.json")"; }

# What was asked for goes to standard output with exit status 0; a wrong command line gets the
# usage on standard error and 64.
while IFS='|' read -r status stream pattern arguments; do
  # shellcheck disable=SC2086  # the arguments split as a shell splits them
  expect_run "qscheck $arguments" "$status" "$stream" "$pattern" "$qscheck" $arguments
done <<EOF
0|stdout|usage: qscheck *|--help
0|stdout|usage: qscheck *|-h
0|stdout|usage: qscheck *|lint --help
0|stdout|qscheck $version|--version
64|stderr|usage: qscheck *|
64|stderr|usage: qscheck *|check S.ini
64|stderr|usage: qscheck *|--version now
64|stderr|usage: qscheck *|lint S.ini --sp
EOF

"$qscheck" plan "$demo/SetupScript.ini" >"$work/out.json"
[ $? = 0 ] || fail "demo: exit status"
has '"outcome":"runCompleted","exitCode":0' demo
has '{"name":"Documents","mustInstall":0,' demo
has "\"sourcePath\":\"$demo\\\\files\\\\readme.txt\",\"destinationPath\":\"[DP]\\\\readme.txt\"" demo
has '{"page":"DIALOG_COPY"}' demo

# What a stopped or cancelled run shows is the interpreter's (its unit tests); here the exit statuses.
expect_plan "syntax error" 2 'SetAppName("A");ShowWelcome("x");ShowDest()'

expect_plan "--running" 3 'ForbidProcess("NOTEPAD.EXE")' --running 'C:\WINDOWS\notepad.exe'

expect_plan "cancel" 0 'ShowWelcome();ShowDest();ShowCopy()' --cancel DIALOG_DEST
has '"outcome":"runEndedByPage","exitCode":0' cancel

expect_plan "page controls" 0 'AddWindow("DIALOG_WELCOME","a","CHECKBOX","A","0","1","2","3","4");CheckButton("a");ShowWelcome();AddWindow("DIALOG_WELCOME","b","LABEL","B","0","5","6","7","8");ShowWelcome()'
has '{"page":"DIALOG_WELCOME","controls":[{"name":"a","type":"CHECKBOX","text":"A","rect":[1,2,3,4],"checked":true}]}' "page controls"
has '"checked":true},{"name":"b","type":"LABEL","text":"B","rect":[5,6,7,8],"checked":false}]}' "page controls"

expect_plan "options" 0 'SetAppName("X")' --programfiles 'E:\Apps' --sp 'F:\Medium' --windows 'W:\' --system 'S:\'
has '"DP":"E:\\Apps\\X\\"' options
has '"SETUPFILE":"F:\\Medium\\SetupScript.ini"' options
has '"WINPATH":"W:\\"' options

mkdir -p "$work/Data/sub"
: >"$work/Data/b.dll"; : >"$work/Data/A.txt"; : >"$work/Data/.hidden"; : >"$work/Data/c.TXT"
expect_plan "wildcards" 0 'AddFile("[SP]\Data\*.txt","[DP]","S","0","1","0","0","0","0","")'
has "\"sourcePath\":\"$work\\\\Data\\\\A.txt\"" wildcards
has "\"sourcePath\":\"$work\\\\Data\\\\c.TXT\"" wildcards
grep -qF 'b.dll' "$work/out.json" && fail "wildcards: *.txt matched b.dll"
expect_plan "all files" 0 'AddFile("[SP]\Data\*.*","[DP]\","S","0","1","0","0","0","0","")'
[ "$(grep -c '"sourcePath"' "$work/out.json")" = 3 ] || fail "all files: expected A.txt, b.dll, c.TXT only"
grep -oE 'Data\\\\[^"]+' "$work/out.json" | tr '\n' ' ' | grep -qF 'Data\\A.txt Data\\b.dll Data\\c.TXT' ||
  fail "all files: not in case-insensitive name order: $(grep -oE 'Data\\\\[^"]+' "$work/out.json" | tr '\n' ' ')"

# A relative pattern lies in the setup directory (Setup.exe's current directory), wherever qscheck
# was started: by default the script's directory, else --sp.
mkdir -p "$work/other/Data"; : >"$work/other/Data/o.txt"
cd /
expect_plan "relative pattern" 0 'AddFile("Data\*.txt","[DP]\","S","0","1","0","0","0","0","")'
has '"sourcePath":"Data\\A.txt"' "relative pattern"
expect_plan "relative pattern --sp" 0 'AddFile("Data\*.txt","[DP]\","S","0","1","0","0","0","0","")' --sp "$work/other"
has '"sourcePath":"Data\\o.txt"' "relative pattern --sp"
cd "$OLDPWD" || exit 1

# A relative --sp is the setup directory its absolute form names, and [SP] is absolute, as
# Setup.exe's always is: "[SP]\Data" is looked for there, not below the setup directory again.
cd "$work" || exit 1
expect_plan "relative --sp" 0 'AddFile("[SP]\Data\*.txt","[DP]\","S","0","1","0","0","0","0","")' --sp other
mv "$work/out.json" "$work/relative.json"
expect_plan "absolute --sp" 0 'AddFile("[SP]\Data\*.txt","[DP]\","S","0","1","0","0","0","0","")' --sp "$work/other"
has "\"sourcePath\":\"$work/other\\\\Data\\\\o.txt\"" "absolute --sp"
cmp -s "$work/relative.json" "$work/out.json" || fail "relative --sp: $(diff "$work/relative.json" "$work/out.json" | head -4)"
cd "$OLDPWD" || exit 1

# The file system's UTF-8 names are read in code page 1252, as the script's texts are (and as
# qscheck.exe reads them): a pattern finds them whatever their case, and JSON shows them as they
# are. A character that code page 1252 lacks is '?'.
mkdir -p "$work/Données"; : >"$work/Données/Café.txt"; : >"$work/Données/Łódź.txt"
expect_plan "UTF-8 names" 0 $'AddFile("[SP]\\CAF\xc9.TXT","[DP]\\","S","0","1","0","0","0","0","");AddFile("[SP]\\*.txt","[DP]\\","S","0","1","0","0","0","0","")' \
  --sp "$work/Données"
has "\"SP\":\"$work/Données\"" "UTF-8 names"
[ "$(grep -cF "\"sourcePath\":\"$work/Données\\\\Café.txt\"" "$work/out.json")" = 2 ] || fail "UTF-8 names: Café.txt not found twice"
has "\"sourcePath\":\"$work/Données\\\\?ód?.txt\"" "UTF-8 names"

"$qscheck" plan "$work/missing.ini" >/dev/null 2>&1
[ $? = 1 ] || fail "missing script: exit status"
"$qscheck" plan "$work/SetupScript.ini" --cancel DIALOG_NOPE >/dev/null 2>&1
[ $? = 64 ] || fail "unknown page: exit status"

# qscheck log: the records as JSON, of a log cut off by a killed run those it holds whole; a log the
# uninstaller would refuse names its line.
header='TWUNLOG V1\r\n\r\nTARNWICK UNINSTALLATION LOG FILE\r\n\r\nMAKE NO CHANGES TO THIS FILE, ITS FORMAT IS EXACTLY DEFINED!\r\nNO REAL PARSER DOES EXIST, SO DON\264T MODIFY ANYTHING!\r\nANY ERRORS COULD CAUSE CATASTROPHAL (!) DAMAGE TO YOUR SYSTEM, YOU\r\nCOULD BE UNABLE TO RESTART WINDOWS\r\n\r\nDATE:1/15/2001\r\n[FILES]\r\n'
printf "$header"'C:\\A\\B.TXT\r\nNONSHARED\r\nC:\\W\\x.dll\r\nSHARED\r\nAUTOREGSVR\r\n[REGISTRY]\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A\r\n' >"$work/ok.log"
"$qscheck" log "$work/ok.log" >"$work/out.json" || fail "log: exit status"
has '{"date":"1/15/2001","records":[{"line":12,"kind":"nonshared","path":"C:\\A\\B.TXT","registration":null},{"line":14,"kind":"shared","path":"C:\\W\\x.dll","registration":"AUTOREGSVR"}],"key":"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A","complete":true}' log
printf "$header"'C:\\A\\B.TXT\r\nNONSHARED\r\nC:\\A\\C.T' >"$work/cut.log"
"$qscheck" log "$work/cut.log" >"$work/out.json" || fail "cut log: exit status"
has '{"date":"1/15/2001","records":[{"line":12,"kind":"nonshared","path":"C:\\A\\B.TXT","registration":null}],"key":"","complete":false}' "cut log"
printf "$header"'C:\\A\\B.TXT\r\nNONSHARD' >"$work/edited.log"
"$qscheck" log "$work/edited.log" >/dev/null 2>"$work/err"
[ $? = 1 ] && grep -qF "edited.log:13: error:" "$work/err" || fail "edited log: $(cat "$work/err")"

finish "qscheck plan"
