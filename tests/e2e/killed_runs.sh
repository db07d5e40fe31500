#!/usr/bin/env bash
# A run that is killed loses nothing. Installs a medium of many small files again and again and
# kills Setup.exe at a moment of its copy run (each kill at a random point of its own stretch of
# the run, so that the kills spread over all of it), then checks what the killed run left:
#   - Uninstall.log is read by the uninstaller's reader (qscheck log), though it has no end;
#   - every file it records exists ("logged but missing" must be 0; in an upgrade 1, the file of
#     version 1 that the installer was replacing);
#   - every installed file but at most the one being copied is recorded ("unlogged" at most 1);
#   - QSUninstall.exe, started in the installation's folder, asks about the unfinished
#     installation and removes it: nothing is left but that one unlogged file at most (and the
#     uninstaller itself where it is due to go at the next restart), and no entry in the list of
#     programs that would start it (every third run begins over an earlier installation's entry).
# After every second kill the uninstaller is killed too, at a random file of its removals, and
# started again: the second start must finish the job.
# Every other pair of kills is an upgrade: a whole installation of version 1 (half of its files
# named as version 2's, half its own) comes first, and the log of the killed version 2 must name
# the files of both that are on disk, whether the kill came while the earlier records were being
# carried over, while files were installed, or while the finished log was written once more.
#
# Usage: killed_runs.sh ROBOT_EXE SETUP_EXE   (QSUninstall.exe and qscheck.exe lie beside SETUP_EXE)
#   QUILLSET_KILL_COUNT  kills of Setup.exe (default 20)
#   QUILLSET_KILL_FILES  files on the medium (default 500)
#   QUILLSET_KILL_SEED   the random seed (default: the time); printed, so a run can be repeated
# Prints the figures at the end; exit status 0 when every check held.
set -u
export LC_ALL=C
robot=$(realpath "$1") setup=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  exec "$here/../wine/with-wine" "$0" "$@"
fi

kills=${QUILLSET_KILL_COUNT:-20}
file_count=${QUILLSET_KILL_FILES:-500}
seed=${QUILLSET_KILL_SEED:-$(date +%s)}
RANDOM=$seed
programs=$(dirname "$setup")
work=${QS_E2E_WORK:-$(dirname "$robot")/e2e-work}/killed_runs
medium=$work/medium
medium_v1=$work/medium-v1
app='QS Killed'
dest='C:\qse2e\killed'
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app"
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'
payload=$(dirname "$robot")/e2e-payload
# shellcheck source=check_helpers.sh
. "$here/check_helpers.sh"
# Resolved as the listings below are (unix_path goes through dosdevices/c:).
dest_unix=$(realpath -m "$(unix_path "$dest")")
log_unix="$dest_unix/Uninstall.log"

clean() {
  rm -rf "$WINEPREFIX/drive_c/qse2e"
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1
  wine reg delete "$session_manager" /v PendingFileRenameOperations /f >/dev/null 2>&1
}
trap clean EXIT
clean

# The medium: Setup.exe, the uninstaller (installed first, as a script should), and the files,
# named in 8.3 form so that the log's short names are the names on disk.
rm -rf "$work"
mkdir -p "$medium/files" "$medium_v1/files"
for i in $(seq -f %04g 1 "$file_count"); do
  head -c $((RANDOM % 4000 + 1)) /dev/urandom >"$medium/files/F$i.TXT"
done
# Version 1: the first quarter of version 2's names, and as many of its own.
for i in $(seq -f %04g 1 $((file_count / 4))); do
  head -c $((RANDOM % 4000 + 1)) /dev/urandom >"$medium_v1/files/F$i.TXT"
  head -c $((RANDOM % 4000 + 1)) /dev/urandom >"$medium_v1/files/G$i.TXT"
done
for each in "$medium" "$medium_v1"; do
  cp "$setup" "$programs/QSUninstall.exe" "$each/" || exit 1
  cat >"$each/SetupScript.ini" <<EOF
SetAppName("$app");
SetVariable("DP","$dest\\");
CreateSection("Main","1","0","Program");
AddFile("[SP]\\QSUninstall.exe","[DP]\\","Main","0","1","0","0","0","0","");
AddFile("[SP]\\files\\*.*","[DP]\\","Main","0","1","0","0","0","0","");
ShowCopy();
EOF
done

# drive NAME STEP... — runs the steps in the medium ($in_medium, version 2's unless set).
drive() { drive_in "${in_medium:-$medium}" "$@"; }

# What the log records, as the uninstaller reads it: its JSON in log.json, the Unix paths of the
# recorded files (lower case, sorted, each once: a killed upgrade's log names a file again that
# it carried from the earlier log) in logged.txt. Status 1 when the reader refuses the log.
read_log() {
  : >"$work/logged.txt"
  : >"$work/logged-windows.txt"
  "$here/../wine/wine-run" "$programs/qscheck.exe" log "$dest\\Uninstall.log" >"$work/log.json" 2>"$work/log.err" ||
    return 1
  grep -o '"path":"[^"]*"' "$work/log.json" | sed 's/^"path":"//; s/"$//; s/\\\\/\\/g' >"$work/logged-windows.txt"
  # One winepath for all: it finds each short name's file, in whatever case it has on disk.
  [ -s "$work/logged-windows.txt" ] &&
    xargs -d '\n' winepath -u <"$work/logged-windows.txt" 2>/dev/null | xargs -d '\n' realpath -m |
    tr '[:upper:]' '[:lower:]' | sort -u >"$work/logged.txt"
  return 0
}

# The files below the installation's folder but the log (lower case, sorted) in installed.txt.
list_installed() {
  find "$dest_unix" -type f ! -iname Uninstall.log 2>/dev/null | tr '[:upper:]' '[:lower:]' | sort >"$work/installed.txt"
}

question() {  # question COMPLETE — the uninstaller's question and closing message for this log
  if [ "$1" = true ]; then
    asked="Remove $app and all of its components?" told="$app was removed from this computer."
  else
    asked="Remove the unfinished installation in $dest and all of its components?"
    told="The unfinished installation in $dest was removed from this computer."
  fi
}

# After the uninstaller: nothing of the installation but the files in `allowed` (at most the one
# the killed run had not recorded) and the uninstaller itself while it is due to go at the next
# restart; no empty folder.
check_removed() {
  local what=$1 file
  [ ! -e "$log_unix" ] || fail_check "$what: Uninstall.log is still there"
  while read -r file; do
    [ -n "$file" ] || continue
    if [ "$file" = "${dest_unix,,}/qsuninstall.exe" ]; then
      wine reg query "$session_manager" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r' |
        grep -qiF 'qse2e\killed\QSUninstall.exe' || fail_check "$what: QSUninstall.exe neither gone nor scheduled"
      continue
    fi
    grep -qxF -- "$file" "$work/allowed.txt" || fail_check "$what: ${file#"$WINEPREFIX/drive_c/"} is left"
  done < <(find "$dest_unix" -type f 2>/dev/null | tr '[:upper:]' '[:lower:]')
  if [ ! -e "$dest_unix/QSUninstall.exe" ] && [ -d "$dest_unix" ] && [ -z "$(ls -A "$dest_unix")" ]; then
    fail_check "$what: the empty folder $dest is left"
  fi
  wine reg query "$uninstall_key" >/dev/null 2>&1 && fail_check "$what: the Uninstall key is there"
}

# check_whole WHAT COUNT — after a whole run: the log is read, records the COUNT files installed and
# nothing else, and uninstalling leaves nothing.
check_whole() {
  read_log || { fail_check "the $1 log is refused: $(cat "$work/log.err")"; exit 1; }
  list_installed
  [ "$(wc -l <"$work/installed.txt")" = "$2" ] || fail_check "the $1 did not install every file"
  cmp -s "$work/installed.txt" "$work/logged.txt" ||
    fail_check "the $1's log and disk differ: $(diff "$work/installed.txt" "$work/logged.txt" | head -5)"
  [ ! -e "$log_unix.new" ] || fail_check "the $1 left Uninstall.log.new"
  question true
  drive "uninstall-$1" "start $dest\\QSUninstall.exe" "message Uninstall \"$asked\" YES" \
    "message Uninstall \"$told\" OK" 'exit 0' || fail_check "the $1 was not uninstalled"
  : >"$work/allowed.txt"
  check_removed "$1"
  clean
}

# A whole run first: how long its log grows, and that installing and uninstalling leave nothing.
drive whole-install 'timeout 120' 'start Setup.exe' 'exit 0' || exit 1
full_size=$(stat -c %s "$log_unix")
files_end=$(($(grep -abo '\[FILES\]' "$log_unix" | cut -d: -f1) + 9))
check_whole "whole run" $((file_count + 1))
echo "killed_runs: seed $seed, $file_count files, a whole log of $full_size bytes ($files_end before the first record)"

# A whole upgrade: version 1, then version 2 over it ("Overwrite every file" at the first
# question). Its log starts as version 1's without the key lines (the carried records) and ends as
# the union of both, each file once.
upgrade_steps=('window "Overwrite file"' 'click IDC_OVERWRITE_ALL')
in_medium=$medium_v1 drive whole-v1 'timeout 120' 'start Setup.exe' 'exit 0' || exit 1
key_lines=$(printf '[REGISTRY]\r\nSoftware\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%s\r\n' "$app" | wc -c)
carried_end=$(($(stat -c %s "$log_unix") - key_lines))
drive whole-upgrade 'timeout 120' 'start Setup.exe' "${upgrade_steps[@]}" 'exit 0' || exit 1
upgrade_size=$(stat -c %s "$log_unix")
check_whole "whole upgrade" $((file_count + 1 + file_count / 4))
echo "killed_runs: a whole upgrade's log of $upgrade_size bytes ($carried_end carried from version 1's)"

setup_kills=0 setup_ended=0 unlogged_total=0 unlogged_most=0 missing_total=0
uninstaller_kills=0 uninstaller_ended=0 unremoved_total=0 left_total=0
upgrade_kills=0
for ((kill = 1; kill <= kills; kill++)); do
  # Kill number k lands in the k-th of `kills` equal stretches of the log's growth, at random;
  # kills 3, 4, 7, 8, ... in an upgrade's, after the question about the first file (the
  # uninstaller, which version 1 installed) was answered, every other one at the question itself.
  steps=() at_question=0 upgrade=0
  if (((kill - 1) % 4 >= 2)); then
    upgrade=1
    upgrade_kills=$((upgrade_kills + 1))
    in_medium=$medium_v1 drive "install-$kill-v1" 'timeout 120' 'start Setup.exe' 'exit 0' ||
      { fail_check "kill $kill: version 1 was not installed"; clean; continue; }
    first=$carried_end span=$((upgrade_size - carried_end))
    steps=("${upgrade_steps[@]}")
    ((upgrade_kills % 2 == 1)) || { steps=('window "Overwrite file"'); at_question=1; }
  else
    first=$files_end span=$((full_size - files_end))
  fi
  size=$((first + 1 + (span * (kill - 1) + span * RANDOM / 32768) / kills))
  ((at_question)) || steps+=("file $dest\\Uninstall.log $size")
  if ((kill % 3 == 0)); then
    # An installation into the same folder before: its entry in the list of programs must go too.
    wine reg add "$uninstall_key" /v DisplayName /d "$app" /f >/dev/null 2>&1
    wine reg add "$uninstall_key" /v UninstallString /d "$dest\\QSUninstall.exe" /f >/dev/null 2>&1
  fi
  drive "install-$kill" 'timeout 120' 'start Setup.exe' "${steps[@]}" kill || { fail_check "kill $kill: robot"; clean; continue; }
  setup_kills=$((setup_kills + 1))
  grep -q 'had ended already' "$work/install-$kill.out" && setup_ended=$((setup_ended + 1))

  # A refused log goes on as one without records, to show what the uninstaller then leaves.
  read_log || fail_check "kill $kill: the log is refused: $(cat "$work/log.err")"
  complete=$(grep -o '"complete":[a-z]*' "$work/log.json" | cut -d: -f2)
  list_installed
  comm -23 "$work/installed.txt" "$work/logged.txt" >"$work/allowed.txt"
  unlogged=$(grep -c . "$work/allowed.txt")
  missing=$(comm -13 "$work/installed.txt" "$work/logged.txt" | grep -c .)
  records=$(grep -c . "$work/logged.txt")
  unlogged_total=$((unlogged_total + unlogged)) missing_total=$((missing_total + missing))
  [ "$unlogged" -le "$unlogged_most" ] || unlogged_most=$unlogged
  echo "kill $kill$( ((at_question)) && echo ' at the first question' || echo " at $size log bytes")$(
    ((upgrade)) && echo ' of an upgrade'): $records records, $unlogged unlogged$(
    [ "$unlogged" = 1 ] && echo " ($(basename "$(cat "$work/allowed.txt")"))"), $missing logged but missing$(
    [ "$complete" = true ] && echo ' (Setup.exe had ended)')"
  # An upgrade killed while the installer replaced a file of version 1 (the old file deleted, the
  # new one still in the installer's temporary file, the one file unlogged) leaves that file's
  # carried record without its file: the uninstaller passes over a file that is gone.
  [ "$missing" -le "$upgrade" ] || fail_check "kill $kill: logged but missing: $(comm -13 "$work/installed.txt" "$work/logged.txt" | head -3)"
  [ "$unlogged" -le 1 ] || fail_check "kill $kill: $unlogged files unlogged: $(head -3 "$work/allowed.txt")"

  question "$complete"
  start=("start $dest\\QSUninstall.exe" "message Uninstall \"$asked\" YES")
  if ((kill % 2 == 0)) && [ "$records" -gt 1 ]; then
    # Kill the uninstaller once a file chosen at random is gone; it removes the newest first.
    victim=$(grep -viF 'QSUninstall' "$work/logged-windows.txt" | shuf -n 1 --random-source=<(yes "$seed$kill"))
    drive "uninstall-$kill" "${start[@]}" "no-file $victim" kill || fail_check "kill $kill: the uninstaller's first run"
    uninstaller_kills=$((uninstaller_kills + 1))
    pending=$(find "$dest_unix" -type f ! -iname Uninstall.log ! -iname QSUninstall.exe | grep -c .)
    unremoved_total=$((unremoved_total + pending))
    # Killed after its last step (its closing message up), there is nothing left to finish.
    if [ ! -e "$log_unix" ]; then
      uninstaller_ended=$((uninstaller_ended + 1))
    else
      drive "uninstall-$kill-again" "${start[@]}" "message Uninstall \"$told\" OK" 'exit 0' ||
        fail_check "kill $kill: the uninstaller started again did not finish"
    fi
  else
    drive "uninstall-$kill" "${start[@]}" "message Uninstall \"$told\" OK" 'exit 0' ||
      fail_check "kill $kill: the uninstaller did not remove the installation"
  fi
  check_removed "kill $kill"
  left_total=$((left_total + $(find "$dest_unix" -type f ! -iname QSUninstall.exe 2>/dev/null | grep -c .)))
  clean
done

echo "killed_runs: Setup.exe killed $setup_kills times ($upgrade_kills in an upgrade, $setup_ended after it had ended), files found unlogged" \
  "$unlogged_total (at most $unlogged_most per kill), files logged but missing $missing_total;" \
  "uninstaller killed $uninstaller_kills times ($uninstaller_ended after it had finished; $unremoved_total files" \
  "still to remove in all), started again to finish; files left after uninstalling $left_total"
echo "killed_runs: $check_failures check(s) failed (seed $seed)"
[ "$check_failures" = 0 ]
