#!/usr/bin/env bash
# Upgrades as a user makes them, with two media of one application:
#   - in place: version 1 (a.txt, old.txt, sub\keep.txt) in C:\qse2e\upgrade, a file of the
#     user's own put in that folder, version 2 (a.txt, new.txt) with a script that leaves DP to
#     SetAppName: its destination page shows version 1's folder, the user answers "Overwrite every
#     file"; the log then names every file of both versions, once, and uninstalling removes them
#     all but the user's file;
#   - elsewhere: version 1 in C:\qse2e\first, version 2 moved by the user to C:\qse2e\second on
#     the destination page; its log carries version 1's records and version 1's log, and
#     uninstalling removes both folders.
#
# Usage: upgrade.sh ROBOT_EXE SETUP_EXE   (QSUninstall.exe and qscheck.exe lie beside SETUP_EXE)
# Exit status 0 when every check held.
set -u
export LC_ALL=C
robot=$(realpath "$1") setup=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  exec "$here/../wine/with-wine" "$0" "$@"
fi

programs=$(dirname "$setup")
work=${QS_E2E_WORK:-$(dirname "$robot")/e2e-work}/upgrade
app='QS Upgrade'
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app"
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'
payload=$(dirname "$robot")/e2e-payload
# shellcheck source=check_helpers.sh
. "$here/check_helpers.sh"

clean() {
  rm -rf "$WINEPREFIX/drive_c/qse2e"
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1
  wine reg delete "$session_manager" /v PendingFileRenameOperations /f >/dev/null 2>&1
}
trap clean EXIT

# medium NAME DP FILE=WORDS... — a medium with Setup.exe, the uninstaller and the files; its script
# installs the uninstaller and the files (sub\ into [DP]\sub\). With DP "-" the script leaves DP to
# SetAppName and shows the destination page.
medium() {
  local dir=$work/$1 dp=$2 each
  shift 2
  rm -rf "$dir"
  mkdir -p "$dir/files/sub"
  cp "$setup" "$programs/QSUninstall.exe" "$dir/" || exit 1
  for each; do printf '%s\n' "${each#*=}" >"$dir/files/${each%%=*}"; done
  {
    printf '%s\r\n' "SetAppName(\"$app\");"
    [ "$dp" = - ] || printf '%s\r\n' "SetVariable(\"DP\",\"$dp\");"
    printf '%s\r\n' 'CreateSection("Main","1","0","Program");' \
      'AddFile("[SP]\QSUninstall.exe","[DP]\","Main","0","1","0","0","0","0","");' \
      'AddFile("[SP]\files\*.*","[DP]\","Main","0","1","0","0","0","0","");' \
      'AddFile("[SP]\files\sub\*.*","[DP]\sub\","Main","0","1","0","0","0","0","");'
    [ "$dp" != - ] || printf '%s\r\n' 'ShowDest();'
    printf '%s\r\n' 'ShowCopy();'
  } >"$dir/SetupScript.ini"
}

# drive MEDIUM NAME STEP... — the robot runs the steps in the medium, with a minute for each.
drive() {
  local dir=$work/$1 name=$2
  shift 2
  drive_in "$dir" "$name" 'timeout 60' "$@" && return 0
  fail_check "robot $name"
  return 1
}

# logged LOG — the files the log records as the uninstaller reads it (qscheck log), as Windows
# paths in their long form and lower case, sorted; status 1 when the log is refused.
logged() {
  local path
  "$here/../wine/wine-run" "$programs/qscheck.exe" log "$1" >"$work/log.json" 2>"$work/log.err" || return 1
  grep -o '"path":"[^"]*"' "$work/log.json" | sed 's/^"path":"//; s/"$//; s/\\\\/\\/g' | while read -r path; do
    long=$(probe long-path "$path") || long="$path (missing)"
    printf '%s\n' "${long,,}"
  done | sort
}

# expect_logged LOG WINPATH... — the log records exactly these files, each once.
expect_logged() {
  local log=$1 actual expected
  shift
  actual=$(logged "$log") || { fail_check "$log is refused: $(cat "$work/log.err")"; return; }
  expected=$(printf '%s\n' "${@,,}" | sort)
  [ "$actual" = "$expected" ] || fail_check "$log records"$'\n'"$actual"$'\n'"instead of"$'\n'"$expected"
}

expect_uninstaller_gone() {  # the uninstaller's own file: gone, or due to go at the next restart
  [ -e "$(unix_path "$1")" ] || return 0
  wine reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' |
    grep -qiF "${1#C:\\}" || fail_check "$1 neither gone nor scheduled"
}

uninstall() {  # uninstall NAME — through the list of programs, answering Yes
  drive v1 "$1" "start-uninstall \"$app\"" "message Uninstall \"Remove $app and all of its components?\" YES" \
    "message Uninstall \"$app was removed from this computer.\" OK" 'exit 0'
}

# ---- in place ----------------------------------------------------------------------------------
clean
here_dp='C:\qse2e\upgrade'
medium v1 "$here_dp\\" a.txt='version 1 a' old.txt='version 1 old' sub/keep.txt='version 1 keep'
medium v2 - a.txt='version 2 a' new.txt='version 2 new'
drive v1 install-v1 'start Setup.exe' 'exit 0' || exit 1
printf 'mine\n' >"$(unix_path "$here_dp\\mine.txt")"
drive v2 install-v2 'start Setup.exe' 'window "Destination directory"' "text IDC_DEST_PATH \"$here_dp\\\\\"" \
  'click IDC_NEXT' 'window "Overwrite file"' "text IDC_OVERWRITE_PATH \"$here_dp\\QSUninstall.exe\"" \
  'click IDC_OVERWRITE_ALL' 'exit 0' || exit 1
expect_file "$here_dp\\a.txt" 'version 2 a'
expect_file "$here_dp\\new.txt" 'version 2 new'
expect_file "$here_dp\\old.txt" 'version 1 old'
expect_logged "$here_dp\\Uninstall.log" "$here_dp\\QSUninstall.exe" "$here_dp\\a.txt" "$here_dp\\new.txt" \
  "$here_dp\\old.txt" "$here_dp\\sub\\keep.txt"
expect_no_file "$here_dp\\Uninstall.log.new"
expect_no_file "$here_dp\\Uninstall.log.previous"
uninstall uninstall-in-place
for gone in a.txt new.txt old.txt sub Uninstall.log; do expect_no_file "$here_dp\\$gone"; done
expect_uninstaller_gone "$here_dp\\QSUninstall.exe"
expect_file "$here_dp\\mine.txt" 'mine'
echo "upgrade: in place checked"

# ---- elsewhere ---------------------------------------------------------------------------------
clean
first='C:\qse2e\first' second='C:\qse2e\second'
medium v1 "$first\\" a.txt='version 1 a' old.txt='version 1 old' sub/keep.txt='version 1 keep'
drive v1 install-first 'start Setup.exe' 'exit 0' || exit 1
drive v2 install-second 'start Setup.exe' 'window "Destination directory"' "text IDC_DEST_PATH \"$first\\\\\"" \
  "type IDC_DEST_PATH \"$second\\\\\"" 'click IDC_NEXT' 'exit 0' || exit 1
expect_file "$first\\Uninstall.log"
expect_logged "$second\\Uninstall.log" "$second\\QSUninstall.exe" "$second\\a.txt" "$second\\new.txt" \
  "$first\\Uninstall.log" "$first\\QSUninstall.exe" "$first\\a.txt" "$first\\old.txt" "$first\\sub\\keep.txt"
wine reg query "$uninstall_key" /v UninstallString 2>/dev/null | tr -d '\r' | grep -qiF "$second\\QSUninstall.exe" ||
  fail_check "the Uninstall entry does not name $second"
uninstall uninstall-elsewhere
[ ! -e "$(unix_path "$first")" ] || fail_check "$first is left: $(cd "$(unix_path "$first")" && find . | head -5)"
for gone in a.txt new.txt Uninstall.log; do expect_no_file "$second\\$gone"; done
expect_uninstaller_gone "$second\\QSUninstall.exe"
echo "upgrade: elsewhere checked"

echo "upgrade: $check_failures check(s) failed"
[ "$check_failures" = 0 ]
