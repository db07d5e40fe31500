#!/usr/bin/env bash
# qsrun end to end, on a small medium (small.ini) with the shipped Setup.exe and QSUninstall.exe:
#   0. --version, --help and wrong command lines;
#   1. no answers file, --uninstall, in a new home folder with qsrun's default prefix (made there):
#      every page pictured or, when it came and went too fast, reported from the program's journal
#      (the copy page of these few small files); files with their digests and long paths, the entry
#      with its hive and view, the shortcut; the uninstaller keeps only the shared file; exit 0;
#      nothing written in the home folder outside qsrun's cache (no desktop menu entries);
#   2. deselect.answers: the readme's section left out, no program group: no readme, no shortcut;
#   2b. the medium installed (with the readme) a second time over the first with overwrite.answers
#      (the readme too): each overwrite
#      question answered as its line says (Yes, No, then "Overwrite every file", which ends them);
#   3. unexpected.answers: the finish message is not expected: a clear error naming the box,
#      exit status 1, and no process of the run left;
#   4. a "Setup.exe" that ends at once with exit code 0 and shows nothing: a failure, never ok;
#   5. the 32-bit Setup.exe that media carry: run where Wine has its 32-bit part, else exit 69
#      with the package to install, before anything starts;
#   6. a compressed medium laid out by qsmedia with the 32-bit programs, run with --programs64:
#      the compressed uninstaller replaced too, and the report says so;
#   7. --upgrade-from: version 1 (a.txt old.txt sub/keep.txt) installed, then version 2 (a.txt
#      new.txt) over it with every overwrite answered, then uninstalled: the report names what was
#      added, replaced and kept, and nothing of either version remains.
#   8. a single-file installer that qsmedia --single-file packed with the shipped programs: its
#      Setup.exe walked, installed and removed, and its unpacking folder reported removed.
# Usage: qsrun_test.sh QSRUN SHIPPED_PROGRAMS_DIR PAYLOAD_DIR QSMEDIA [SHIPPED_PROGRAMS_32_DIR]
set -u
qsrun=$(realpath "$1") programs=$(realpath "$2") payload=$(realpath "$3") qsmedia=$(realpath "$4")
programs32=${5:+$(realpath "$5")}
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

echo "== 1. the default walk, with --uninstall, on a new home folder and qsrun's default prefix"
home=$work/home
mkdir -p "$home"
env -u XDG_CACHE_HOME HOME="$home" "$qsrun" "$medium" --report "$work/default" --uninstall
status=$?
[ $status = 0 ] || fail "the default walk exited with $status"
outside=$(cd "$home" && find . -mindepth 1 | grep -Ev '^\./\.cache(/quillset(/.*)?)?$' | head -5)
[ -z "$outside" ] || fail "qsrun wrote outside its prefix in the home folder: $outside"
rm -rf "$home"
report=$work/default
expect "the run is ok" '.result == "ok" and .failure == null and .setup_exit_code == 0' "$report"
expect "the pages in order" '[.pages[].dialog] == ["IDD_WELCOME","IDD_DESTINATION","IDD_SECTIONS","IDD_PROGRAM_GROUP","IDD_COPY"]' "$report"
expect "the copy page, pictured or from the journal" '.pages[4] | (.screenshot != null) != .gone_before_photographed and
  ([.controls[] | select(.kind == "progress")] | length) >= 1' "$report"
expect "the sections with their sizes" '.pages[2].row_cells | length == 2 and all(.[]; .[1] != "")' "$report"
expect "the entry's hive and view" '.uninstall_entry_hive == "HKEY_LOCAL_MACHINE" and .uninstall_entry_view == "64-bit"' "$report"
expect "installed paths in their long form" '[.files[] | select(.long_path == "C:\\qse2e\\qsrun\\QSUninstall.exe")] | length == 1' "$report"
for png in $(jq -r '.pages[].screenshot // empty' "$report/report.json"); do
  [ "$(stat -c %s "$report/$png")" -lt 102400 ] || fail "screenshot $png has $(stat -c %s "$report/$png") bytes, not under 100 KB"
done
grep -q '<a href="#page-3">' "$report/report.html" || fail "report.html has no contents linking to its pages"
expect "the licence was accepted to enable Next" '.pages[0].actions[0] | startswith("checked \"I accept the licence\"")' "$report"
expect "the welcome page's texts and controls" '(.pages[0].texts | index("Welcome to QS Run.")) != null and
  ([.pages[0].controls[] | select(.kind == "check box" and .text == "I accept the licence" and .checked)] | length) == 1' "$report"
expect "the sections listed" '.pages[2].rows == ["Program","Documents"]' "$report"
for png in $(jq -r '.pages[].screenshot // empty' "$report/report.json"); do
  [ "$(head -c 8 "$report/$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "screenshot $png is not a PNG file"
  grep -q "<img src=\"$png\"" "$report/report.html" || fail "report.html does not show $png"
done
expect "the finish message" '.messages[0] == {"program":"Setup.exe","caption":"QS Run","text":"QS Run has been installed in C:\\qse2e\\qsrun\\.","answer":"OK","after_page":5}' "$report"
expect "the entry" '.application == "QS Run" and (.uninstall_entry | map(select(.name == "UninstallString"))[0].data) == "\"C:\\qse2e\\qsrun\\QSUninstall.exe\""' "$report"
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

echo "== 2b. installed again over the first installation, the overwrite questions answered"
printf 'check "@I accept the licence" on\nsection Documents on\n' >"$work/first.answers"
"$qsrun" "$medium" --prefix "$prefix" --report "$work/first" --answers "$work/first.answers" >/dev/null ||
  fail "the first installation for 2b failed"
"$qsrun" "$medium" --prefix "$prefix" --report "$work/again" --answers "$here/overwrite.answers" --uninstall
status=$?
[ $status = 0 ] || fail "the second installation with overwrite.answers exited with $status"
expect "Yes, No, then every file" '[.pages[] | select(.dialog == "IDD_OVERWRITE") | .actions[0]] == [
    "answered \"Yes\" for C:\\qse2e\\qsrun\\QSUninstall.exe (answers line 3)",
    "answered \"No\" for C:\\qse2e\\qsrun\\program.txt (answers line 4)",
    "answered \"Overwrite every file\" for C:\\qse2e\\qsrun\\readme.txt (answers line 5)"]' "$work/again"
expect "removed again" '.result == "ok" and .uninstall.remaining == []' "$work/again"

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

echo "== 4. a Setup.exe that ends at once and shows nothing"
mkdir -p "$work/ends"
cp "$payload/ends_at_once.exe" "$work/ends/Setup.exe"
cp "$here/small.ini" "$work/ends/SetupScript.ini"
"$qsrun" "$work/ends" --prefix "$prefix" --report "$work/ends-report" --uninstall >"$work/ends.out" 2>&1
status=$?
cat "$work/ends.out"
[ $status = 1 ] || fail "a Setup.exe that showed nothing: exit status $status, not 1"
grep -qF 'qsrun: failed: Setup.exe ended with exit code 0 before it showed a window' "$work/ends.out" ||
  fail "the failure does not say that Setup.exe showed nothing"
expect "the report says it failed" '.result == "failed" and .setup_exit_code == 0 and .pages == [] and .uninstall == null' "$work/ends-report"

echo "== 5. a medium with the 32-bit Setup.exe"
if [ -z "$programs32" ]; then
  echo "no 32-bit build given: skipped"
else
  mkdir -p "$work/medium32"
  cp -r "$medium/." "$work/medium32/"
  cp "$programs32/Setup.exe" "$programs32/QSUninstall.exe" "$work/medium32/"
  "$qsrun" "$work/medium32" --prefix "$prefix" --report "$work/medium32-report" --uninstall >"$work/medium32.out" 2>&1
  status=$?
  cat "$work/medium32.out"
  case $status in
    0) expect "the 32-bit run walked every page" '(.pages | length) == 5 and .result == "ok"' "$work/medium32-report" ;;
    69) grep -qF 'Setup.exe is a 32-bit program, and this Wine cannot run 32-bit programs' "$work/medium32.out" &&
          grep -qF 'wine32:i386' "$work/medium32.out" || fail "the 32-bit medium: exit 69 without naming the cause and package"
        [ ! -e "$work/medium32-report/report.json" ] || fail "the 32-bit medium: a report of a run that never started" ;;
    1) grep -qF 'it is a 32-bit program' "$work/medium32.out" || fail "the 32-bit Setup.exe failed, and qsrun does not say why" ;;
    *) fail "the 32-bit medium: exit status $status" ;;
  esac

  echo "== 6. a compressed medium of the 32-bit programs, run with --programs64"
  mkdir -p "$work/tree64/program"
  for n in $(seq 1 200); do echo "Line $n of the program's notes."; done >"$work/tree64/program/notes.txt"
  printf 'app = QS Run Compressed\nsection "Program" required = program/\n' >"$work/compressed.txt"
  rm -rf "$work/compressed"
  "$qsmedia" "$work/compressed.txt" "$work/compressed" --tree "$work/tree64" --programs "$programs32" --compress \
    >"$work/compressed.out" 2>&1 || fail "qsmedia --compress: $(cat "$work/compressed.out")"
  [ -f "$work/compressed/QSUninstall.ex_" ] || fail "the compressed medium has no QSUninstall.ex_: $(ls "$work/compressed")"
  "$qsrun" "$work/compressed" --programs64 "$programs" --prefix "$prefix" --report "$work/compressed-report" --uninstall
  status=$?
  [ $status = 0 ] || fail "the compressed medium with --programs64 exited with $status"
  expect "the replaced programs named" ".replaced_programs == {\"from\":\"$programs\",\"files\":[\"QSUninstall.ex_\",\"Setup.exe\"]}" \
    "$work/compressed-report"
  expect "the copy page of one small file" '[.pages[] | select(.dialog == "IDD_COPY")] | length == 1' "$work/compressed-report"
  expect "installed and removed" '.result == "ok" and ([.files[] | select(.long_path | test("notes.txt$"))] | length) == 1 and
    .uninstall.remaining == []' "$work/compressed-report"
  cmp -s "$programs32/Setup.exe" "$work/compressed/Setup.exe" || fail "--programs64 changed the medium itself"
fi

echo "== 7. an upgrade: version 2 over version 1, then uninstalled"
rm -rf "$work/v1" "$work/v2" "$work/tree-v1" "$work/tree-v2" "$work/upgrade"
mkdir -p "$work/tree-v1/program/sub" "$work/tree-v2/program"
echo "a, version 1" >"$work/tree-v1/program/a.txt"
echo "only in version 1" >"$work/tree-v1/program/old.txt"
echo "kept in a folder" >"$work/tree-v1/program/sub/keep.txt"
echo "a, version 2" >"$work/tree-v2/program/a.txt"
echo "new in version 2" >"$work/tree-v2/program/new.txt"
printf 'app = QS Run Upgrade\nsection "Program" required = program/\n' >"$work/upgrade.txt"
for version in v1 v2; do
  "$qsmedia" "$work/upgrade.txt" "$work/$version" --tree "$work/tree-$version" --programs "$programs" >"$work/$version.out" 2>&1 ||
    fail "qsmedia $version: $(cat "$work/$version.out")"
done
echo 'overwrite * all' >"$work/upgrade.answers"
"$qsrun" "$work/v2" --upgrade-from "$work/v1" --answers "$work/upgrade.answers" --prefix "$prefix" --report "$work/upgrade" --uninstall
status=$?
[ $status = 0 ] || fail "the upgrade exited with $status"
names() { echo "[.upgrade.$1[].path | split(\"\\\\\") | .[-1]] | sort == $2"; }
expect "added" "$(names added '["new.txt"]')" "$work/upgrade"
expect "replaced" "$(names replaced '["a.txt"]')" "$work/upgrade"
expect "kept" "$(names kept '["QSUninstall.exe","keep.txt","old.txt"]')" "$work/upgrade"
expect "nothing of either version remains" '.upgrade.remaining_after_uninstall == [] and .uninstall.remaining == []' "$work/upgrade"
expect "the earlier run in its own folder" '.result == "ok" and .upgrade.earlier_report == "earlier/report.json"' "$work/upgrade"
[ "$(jq -r '.result' "$work/upgrade/earlier/report.json" 2>&1)" = ok ] || fail "no earlier/report.json of an ok run"
grep -q 'src="earlier/page-01.png"' "$work/upgrade/report.html" || fail "report.html does not show the earlier run's pages"
echo "== 8. a single-file installer"
mkdir -p "$work/single-tree/program" "$work/single"
echo "The single file's program." >"$work/single-tree/program/program.txt"
printf 'app = QS Run Single\nsection "Program" required = program/\n' >"$work/single.txt"
"$qsmedia" "$work/single.txt" --single-file "$work/single/QS-Run-Single.exe" --tree "$work/single-tree" \
  --programs "$programs" >"$work/single.out" 2>&1 || fail "qsmedia --single-file: $(cat "$work/single.out")"
"$qsrun" "$work/single/QS-Run-Single.exe" --prefix "$prefix" --report "$work/single-report" --uninstall
status=$?
[ $status = 0 ] || fail "the single file exited with $status"
expect "the single file's run is ok" '.result == "ok" and .setup_exit_code == 0 and
  .single_file == {"program":"QS-Run-Single.exe","unpacking_folder_removed":true}' "$work/single-report"
expect "its Setup.exe's pages walked" '[.pages[] | select(.dialog == "IDD_WELCOME" or .dialog == "IDD_COPY")] | length >= 1' \
  "$work/single-report"
expect "installed and removed" '([.files[] | select(.long_path | test("program.txt$"))] | length) == 1 and
  .uninstall.remaining == []' "$work/single-report"
[ "$(ls -A "$work/single")" = QS-Run-Single.exe ] || fail "beside the single file: $(ls -A "$work/single")"
"$qsrun" "$work/single/QS-Run-Single.exe" --programs64 "$programs" >/dev/null 2>&1
[ $? = 64 ] || fail "--programs64 with a single file does not exit with 64"

# What the last run installed goes, so that nothing is left for other tests.
rm -rf "$prefix/drive_c/qse2e" "$prefix/drive_c/windows/system32/qsrunshared.txt"
[ $failures = 0 ] && echo "qsrun: every check held"
exit $((failures > 0))
