#!/usr/bin/env bash
# qsrun end to end, on a small medium (small.ini) with the shipped Setup.exe and QSUninstall.exe:
#   0. --version, --help and wrong command lines;
#   1. no answers file, --uninstall: every page pictured, files with their digests, the entry, the
#      shortcut; the uninstaller keeps only the shared file; exit 0;
#   2. deselect.answers: the readme's section left out, no program group: no readme, no shortcut;
#   3. unexpected.answers: the finish message is not expected: a clear error naming the box,
#      exit status 1, and no process of the run left;
#   4. the 32-bit Setup.exe that media carry: run, or, where Wine cannot start 32-bit programs,
#      an error that says so.
# Usage: qsrun_test.sh QSRUN SHIPPED_PROGRAMS_DIR [SHIPPED_PROGRAMS_32_DIR]   (QSRUN: the build's launcher)
set -u
qsrun=$(realpath "$1") programs=$(realpath "$2") programs32=${3:+$(realpath "$3")}
here=$(cd "$(dirname "$0")" && pwd)
work=$(dirname "$qsrun")/e2e-work/qsrun
prefix=$(dirname "$qsrun")/qsrun-prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# expect WHAT JQ_FILTER REPORT — the filter must give true.
expect() {
  [ "$(jq -r "$2" "$3/report.json" 2>&1)" = true ] || fail "$1 ($2 in $3/report.json: $(jq -c "$2" "$3/report.json" 2>&1))"
}
# Processes of this prefix still running.
leftovers() { grep -lsz "^WINEPREFIX=$prefix\$" /proc/[0-9]*/environ 2>/dev/null | grep -v "/proc/$$/" || true; }

rm -rf "$work"
mkdir -p "$work/medium/files" "$work/medium/shared"
medium=$work/medium
cp "$programs/Setup.exe" "$programs/QSUninstall.exe" "$medium/"
cp "$here/small.ini" "$medium/SetupScript.ini"
echo "The program." >"$medium/files/program.txt"
echo "Read me." >"$medium/files/readme.txt"
echo "Shared." >"$medium/shared/qsrunshared.txt"
program_sha=$(sha256sum "$medium/files/program.txt" | cut -d' ' -f1)

echo "== 0. the command line"
[[ "$("$qsrun" --version)" =~ ^qsrun\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version prints $("$qsrun" --version)"
"$qsrun" --help | grep -q '^usage: qsrun MEDIUM' || fail "--help prints no usage on standard output"
"$qsrun" "$medium" --no-such-option >/dev/null 2>&1
[ $? = 64 ] || fail "an unknown option does not exit with 64"
"$qsrun" "$work/nowhere" 2>&1 | grep -qF "$work/nowhere/Setup.exe: no such file" || fail "a medium without Setup.exe is not named"

echo "== 1. the default walk, with --uninstall"
"$qsrun" "$medium" --prefix "$prefix" --report "$work/default" --uninstall
status=$?
[ $status = 0 ] || fail "the default walk exited with $status"
report=$work/default
expect "the run is ok" '.result == "ok" and .failure == null and .setup_exit_code == 0' "$report"
expect "the pages in order" '[.pages[].dialog] == ["IDD_WELCOME","IDD_DESTINATION","IDD_SECTIONS","IDD_PROGRAM_GROUP","IDD_COPY"]' "$report"
expect "the licence was accepted to enable Next" '.pages[0].actions[0] | startswith("checked \"I accept the licence\"")' "$report"
expect "the welcome page's texts and controls" '(.pages[0].texts | index("Welcome to QS Run.")) != null and
  ([.pages[0].controls[] | select(.kind == "check box" and .text == "I accept the licence" and .checked)] | length) == 1' "$report"
expect "the sections listed" '.pages[2].rows == ["Program","Documents"]' "$report"
for png in $(jq -r '.pages[].screenshot' "$report/report.json"); do
  [ "$(head -c 8 "$report/$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "screenshot $png is not a PNG file"
  grep -q "<img src=\"$png\"" "$report/report.html" || fail "report.html does not show $png"
done
expect "the finish message" '.messages[0] == {"program":"Setup.exe","caption":"QS Run","text":"QS Run has been installed in C:\\qse2e\\qsrun\\.","answer":"OK","after_page":5}' "$report"
expect "the entry" '.application == "QS Run" and (.uninstall_entry | map(select(.name == "UninstallString"))[0].data) == "C:\\qse2e\\qsrun\\QSUninstall.exe"' "$report"
expect "the log read as the uninstaller reads it" '.uninstall_log.read and .uninstall_log.key == "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QS Run" and (.uninstall_log.records | map(.kind)) == ["file","file","shortcut","shared"]' "$report"
expect "the program file with its digest" "[.files[] | select(.path == \"C:\\\\qse2e\\\\qsrun\\\\program.txt\")][0] | .exists and .size == 13 and .sha256 == \"$program_sha\"" "$report"
expect "the uninstaller's version" '[.files[] | select(.path | test("QSUN.*EXE"))][0].version | test("^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")' "$report"
expect "no readme (its section was not chosen)" '[.files[].path | select(test("readme"))] == []' "$report"
expect "the shortcut" '(.shortcuts | length) == 1 and .shortcuts[0].exists and .shortcuts[0].target == "C:\\qse2e\\qsrun\\program.txt" and .shortcuts[0].description == "The program"' "$report"
expect "the uninstaller ran and kept the shared file only" '.uninstall.exit_code == 0 and .uninstall.remaining == [] and .uninstall.kept == ["C:\\windows\\system32\\qsrunshared.txt"] and (.uninstall.entry_remains | not)' "$report"
expect "the uninstaller's question and report" '[.messages[] | select(.program == "QSUninstall.exe") | .answer] == ["YES","OK"]' "$report"

echo "== 2. an answers file: a section left out, no program group"
"$qsrun" "$medium" --prefix "$prefix" --report "$work/deselect" --answers "$here/deselect.answers" --uninstall
status=$?
[ $status = 0 ] || fail "the walk with deselect.answers exited with $status"
report=$work/deselect
expect "no program group chosen" '.pages[3].actions[0] == "chose no program group"' "$report"
expect "no readme, no shortcut" '[.files[].path | select(test("readme"))] == [] and .shortcuts == [] and ([.uninstall_log.records[] | select(.kind == "shortcut")] == [])' "$report"
expect "removed again" '.uninstall.remaining == [] and (.uninstall.entry_remains | not)' "$report"

echo "== 3. a message box that the answers file does not expect"
started=$(date +%s)
"$qsrun" "$medium" --prefix "$prefix" --report "$work/unexpected" --answers "$here/unexpected.answers" --timeout 60 >"$work/unexpected.out" 2>&1
status=$?
cat "$work/unexpected.out"
[ $status = 1 ] || fail "the unexpected message box: exit status $status, not 1"
[ $(($(date +%s) - started)) -lt 120 ] || fail "the unexpected message box took longer than the bounded wait"
grep -qF 'qsrun: failed: a message box that the answers file does not expect: "QS Run" "QS Run has been installed in C:\qse2e\qsrun\." (buttons: OK)' \
  "$work/unexpected.out" || fail "the failure does not name the message box"
expect "the report says why" '.result == "failed" and (.failure | contains("does not expect"))' "$work/unexpected"
[ -z "$(leftovers)" ] || fail "processes of the run are left: $(leftovers | tr '\n' ' ')"

echo "== 4. a medium with the 32-bit Setup.exe"
if [ -z "$programs32" ]; then
  echo "no 32-bit build given: skipped"
else
  mkdir -p "$work/medium32"
  cp -r "$medium/." "$work/medium32/"
  cp "$programs32/Setup.exe" "$programs32/QSUninstall.exe" "$work/medium32/"
  "$qsrun" "$work/medium32" --prefix "$prefix" --report "$work/medium32-report" --uninstall --timeout 10 >"$work/medium32.out" 2>&1
  status=$?
  cat "$work/medium32.out"
  if [ $status != 0 ]; then
    [ $status = 1 ] || fail "the 32-bit medium: exit status $status, not 0 or 1"
    grep -qF 'it is a 32-bit program, which a Wine without 32-bit support cannot start' "$work/medium32.out" ||
      fail "the 32-bit Setup.exe did not start, and qsrun does not say why"
  fi
fi

# What the last run installed goes, so that nothing is left for other tests.
rm -rf "$prefix/drive_c/qse2e" "$prefix/drive_c/windows/system32/qsrunshared.txt"
[ $failures = 0 ] && echo "qsrun: every check held"
exit $((failures > 0))
