#!/usr/bin/env bash
# Runs one end-to-end scenario: prepares a fresh medium (Setup.exe and the scenario's script in an
# empty directory), applies the scenario's machine settings, lets the robot start Setup.exe there
# and walk through the steps, and puts every setting back afterwards.
#
# Usage: run_scenario.sh ROBOT_EXE SETUP_EXE SCENARIO
#
# Settings are comment lines of the scenario that the robot ignores:
#   #! script FILE          the medium's SetupScript.ini (relative to the scenario); none: no script
#   #! copy FROM TO         puts a file on the medium (TO relative to it); FROM is relative to the
#                           scenario, payload/NAME for a file built into the build's e2e-payload/,
#                           or build/NAME for a program beside the Setup.exe under test (QSUninstall.exe)
#   #! text TO WORDS...     a text file on the medium holding WORDS and a line end
#   #! existing PATH WORDS  a file C:\qse2e\PATH holding WORDS before the run (its folders made)
#   #! existing-copy FROM PATH  FROM (as for copy) as the file C:\qse2e\PATH before the run
#   #! existing-dir PATH    a folder C:\qse2e\PATH before the run
#   #! read-only PATH       C:\qse2e\PATH without write permission, so Windows sees it read-only
#   #! system-file NAME [FROM]  NAME in the system directory is removed before and after the run;
#                           with FROM (as for copy) it is put there before the run
#   #! uninstall-key NAME   the Uninstall key NAME is removed before and after the run
#   #! temp-file NAME       NAME in the Windows TEMP directory is removed before and after the run;
#                           a pattern (qs*.tmp) names every file it matches there, in any case
#   #! pending-renames      the NT list of moves at the next restart is emptied before and after
#   #! windows-file RELPATH WORDS  a file RELPATH below C:\windows (spelt as on the Unix side:
#                           temp/x.TMP) holding WORDS before the run, removed afterwards
#   #! windows-copy FROM RELPATH  FROM (as for copy) as RELPATH below C:\windows before the run,
#                           removed afterwards
#   #! windows-read-only RELPATH  that file below C:\windows without write permission (so
#                           Windows sees it read-only) until the run is over
#   #! windows-dir RELPATH  a folder RELPATH below C:\windows before the run, removed afterwards
#   #! hold WINPATH         a process keeps WINPATH in use during the run (a .dll or .ocx loaded,
#                           any other file open without sharing)
#   #! random TO BYTES      a file of BYTES random bytes on the medium (a tree for qsmedia)
#   #! words TO BYTES       a text of BYTES bytes on the medium: lines of words from a short list
#                           and numbers, which the medium's compression takes to about a third
#   #! qsmedia DESCRIPTION TREE [OPTION...]  qsmedia.exe of the build lays out a medium in the
#                           folder "disks" from DESCRIPTION (relative to the scenario) and TREE (on
#                           the medium), with the OPTIONs given (--compress); the robot then runs in
#                           that medium's DISK1
#   #! check FILE           after the robot's steps held: FILE (bash, relative to the scenario) checks
#                           the end state with the functions of check_helpers.sh
#   #! win98                Setup.exe and QSUninstall.exe run under Wine's Windows 98 emulation
#   #! wininit SIZE|none    C:\windows\Wininit.exe of SIZE bytes, or no such file
#   #! no-programfilesdir   the registry value ProgramFilesDir is absent
#   #! no-programs-folder   the shell cannot name the Start menu's Programs folder
#   #! programs-dir PATH    a folder PATH (below qse2e) in the Start menu's Programs folder
#
# Scripts that install put their files under C:\qse2e\ and their program groups under qse2e in the
# Start menu's Programs folder; both are emptied before and after every scenario; HKLM\Software\Quillset\E2E (written by the test servers) is removed afterwards.
# Whatever else a run adds to the Programs folder (the group of a script that keeps PROGRAMGROUP at
# its APPNAME) is removed afterwards too; what was there before stays.
set -u
robot=$(realpath "$1") setup=$(realpath "$2") scenario=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  exec "$here/../wine/with-wine" "$0" "$@"
fi

name=$(basename "$scenario" .scenario)
scenario_dir=$(cd "$(dirname "$scenario")" && pwd)
work_root=${QS_E2E_WORK:-$(dirname "$robot")/e2e-work}
medium="$work_root/$name"
rm -rf "$medium"
mkdir -p "$medium"
cp "$setup" "$medium/Setup.exe"
# The build puts the uninstaller next to Setup.exe; so does every medium.
cp "$(dirname "$setup")/QSUninstall.exe" "$medium/" 2>/dev/null

windows_dir="$WINEPREFIX/drive_c/windows"
payload=$(dirname "$robot")/e2e-payload
qse2e="$WINEPREFIX/drive_c/qse2e"
uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
checks=()
# A file named by a setting: payload/NAME, build/NAME, or relative to the scenario.
source_file() {
  case "$1" in
    payload/*) printf '%s\n' "$payload/${1#payload/}" ;;
    build/*) printf '%s\n' "$(dirname "$setup")/${1#build/}" ;;
    *) printf '%s\n' "$scenario_dir/$1" ;;
  esac
}
session_manager='HKLM\System\CurrentControlSet\Control\Session Manager'
appdefaults='HKCU\Software\Wine\AppDefaults\Setup.exe'
version_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion'
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
programs_folder() { find "$WINEPREFIX/drive_c/users" -maxdepth 7 -type d -path '*Start Menu/Programs' | head -1; }
programs_qse2e() { find "$WINEPREFIX/drive_c/users" -type d -path '*Start Menu/Programs/qse2e' 2>/dev/null; }
# write_words FILE WORDS — WORDS and a line end as FILE, its folders made.
write_words() { mkdir -p "$(dirname "$1")" && printf '%s\n' "$2" >"$1"; }
# windows_owned RELPATH — RELPATH below C:\windows is removed before and after the run.
windows_owned() {
  rm -rf "${windows_dir:?}/$1"
  restore+=("rm -rf '$windows_dir/$1'")
}
rm -rf "$qse2e"
programs_qse2e | xargs -r -d '\n' rm -rf
programs=$(programs_folder)
programs_before=$(ls -A "$programs" 2>/dev/null)
# remove_new_programs — removes the entries of the Programs folder that were not there before the run.
remove_new_programs() {
  local entry
  [ -n "$programs" ] || return 0
  while IFS= read -r entry; do
    grep -qxF -- "$entry" <<<"$programs_before" || rm -rf -- "${programs:?}/$entry"
  done < <(ls -A "$programs" 2>/dev/null)
}
restore=("rm -rf '$qse2e'" "wine reg delete 'HKLM\Software\Quillset\E2E' /f >/dev/null 2>&1"
         'programs_qse2e | xargs -r -d "\\n" rm -rf' remove_new_programs)
cleanup() {
  for ((i = ${#restore[@]} - 1; i >= 0; i--)); do eval "${restore[$i]}"; done
}
trap cleanup EXIT

while read -r directive value; do
  case "$directive" in
    script)
      cp "$scenario_dir/$value" "$medium/SetupScript.ini" || exit 1 ;;
    copy)
      read -r from to <<<"$value"
      mkdir -p "$(dirname "$medium/$to")" && cp "$(source_file "$from")" "$medium/$to" || exit 1 ;;
    text)
      read -r to words <<<"$value"
      write_words "$medium/$to" "$words" ;;
    random)
      read -r to bytes <<<"$value"
      mkdir -p "$(dirname "$medium/$to")" && head -c "$bytes" /dev/urandom >"$medium/$to" || exit 1 ;;
    words)
      read -r to bytes <<<"$value"
      mkdir -p "$(dirname "$medium/$to")" || exit 1
      awk -v bytes="$bytes" 'BEGIN {
        n = split("the setup installs files of a product into its folder and asks before it overwrites one", w, " ")
        for (size = 0; size < bytes; size += length(word) + 1) {
          word = rand() < 0.2 ? int(rand() * 100000) : w[int(rand() * n) + 1]
          printf "%s%s", word, (rand() < 0.1 ? "\n" : " ")
        }
      }' | head -c "$bytes" >"$medium/$to" ;;
    qsmedia)
      read -r description tree options <<<"$value"
      # shellcheck disable=SC2086  # the options split into words
      "$here/../wine/wine-run" "$(dirname "$setup")/qsmedia.exe" "$(winepath -w "$scenario_dir/$description")" \
        "$(winepath -w "$medium/disks")" --tree "$(winepath -w "$medium/$tree")" $options || exit 1
      run_dir="$medium/disks/DISK1" ;;
    existing)
      read -r to words <<<"$value"
      write_words "$qse2e/$to" "$words" ;;
    existing-copy)
      read -r from to <<<"$value"
      mkdir -p "$(dirname "$qse2e/$to")" && cp "$(source_file "$from")" "$qse2e/$to" || exit 1 ;;
    existing-dir)
      mkdir -p "$qse2e/$value" ;;
    read-only)
      chmod a-w "$qse2e/$value" ;;
    system-file)
      read -r name from <<<"$value"
      windows_owned "system32/$name"
      [ -z "$from" ] || cp "$(source_file "$from")" "$windows_dir/system32/$name" || exit 1 ;;
    temp-file)
      remove_temp="(shopt -s nocaseglob; rm -rf '$windows_dir/temp/'$value)"
      eval "$remove_temp"
      restore+=("$remove_temp") ;;
    pending-renames)
      wine reg delete "$session_manager" /v PendingFileRenameOperations /f >/dev/null 2>&1
      restore+=("wine reg delete '$session_manager' /v PendingFileRenameOperations /f >/dev/null 2>&1") ;;
    windows-file)
      read -r to words <<<"$value"
      windows_owned "$to"
      write_words "$windows_dir/$to" "$words" || exit 1 ;;
    windows-copy)
      read -r from to <<<"$value"
      windows_owned "$to"
      cp "$(source_file "$from")" "$windows_dir/$to" || exit 1 ;;
    windows-read-only)
      chmod a-w "$windows_dir/$value" || exit 1
      restore+=("chmod u+w '$windows_dir/$value' 2>/dev/null") ;;
    windows-dir)
      windows_owned "$value"
      mkdir -p "$windows_dir/$value" || exit 1 ;;
    uninstall-key)
      wine reg delete "$uninstall_root\\$value" /f >/dev/null 2>&1
      restore+=("wine reg delete '$uninstall_root\\$value' /f >/dev/null 2>&1") ;;
    check)
      checks+=("$scenario_dir/$value") ;;
    hold)
      ready="$work_root/$name.held"
      rm -f "$ready"
      wine "$payload/probe.exe" hold "$value" "$(winepath -w "$ready" 2>/dev/null)" </dev/null >/dev/null 2>&1 &
      restore+=("kill $! 2>/dev/null; wait $! 2>/dev/null; rm -f '$ready'")
      for _ in $(seq 1 300); do [ -e "$ready" ] && break; sleep 0.1; done
      [ -e "$ready" ] || { echo "run_scenario: $value could not be held"; exit 1; } ;;
    win98)
      for program in "$appdefaults" "${appdefaults%Setup.exe}QSUninstall.exe"; do
        wine reg add "$program" /v Version /d win98 /f >/dev/null 2>&1
        restore+=("wine reg delete '$program' /f >/dev/null 2>&1")
      done ;;
    wininit)
      if [ -e "$windows_dir/wininit.exe" ]; then
        mv "$windows_dir/wininit.exe" "$windows_dir/wininit.exe.e2e-saved"
        restore+=("mv '$windows_dir/wininit.exe.e2e-saved' '$windows_dir/wininit.exe'")
      fi
      restore+=("rm -f '$windows_dir/wininit.exe'")
      [ "$value" = none ] || head -c "$value" /dev/zero >"$windows_dir/wininit.exe" ;;
    no-programfilesdir)
      saved=$(wine reg query "$version_key" /v ProgramFilesDir 2>/dev/null | tr -d '\r' |
              sed -n 's/^ *ProgramFilesDir *REG_SZ *//p')
      [ -n "$saved" ] || { echo "run_scenario: ProgramFilesDir not found to begin with"; exit 1; }
      wine reg delete "$version_key" /v ProgramFilesDir /f >/dev/null 2>&1
      restore+=("wine reg add '$version_key' /v ProgramFilesDir /d '$saved' /f >/dev/null 2>&1") ;;
    no-programs-folder)
      saved=$(wine reg query "$shell_folders" /v Programs 2>/dev/null | tr -d '\r' |
              sed -n 's/^ *Programs *REG_EXPAND_SZ *//p')
      [ -n "$saved" ] || { echo "run_scenario: the Programs folder is not registered to begin with"; exit 1; }
      wine reg add "$shell_folders" /v Programs /t REG_EXPAND_SZ /d 'Q:\nowhere' /f >/dev/null 2>&1
      restore+=("wine reg add '$shell_folders' /v Programs /t REG_EXPAND_SZ /d '$saved' /f >/dev/null 2>&1") ;;
    programs-dir)
      mkdir -p "$(programs_folder)/${value//\\//}" || exit 1 ;;
    *) echo "run_scenario: unknown setting '#! $directive'"; exit 1 ;;
  esac
done < <(sed -n 's/^#! *//p' "$scenario")

cd "${run_dir:-$medium}" || exit 1
# A robot that printed nothing never ran (Wine sometimes fails to start a program on a loaded
# machine): try again.
for _ in 1 2 3; do
  "$here/../wine/wine-run" "$robot" "$scenario" >"$work_root/$name.out" 2>&1
  status=$?
  cat "$work_root/$name.out"
  [ -s "$work_root/$name.out" ] && break
done
if [ $status = 0 ] && [ ${#checks[@]} -gt 0 ]; then
  # shellcheck source=check_helpers.sh
  . "$here/check_helpers.sh"
  for check in "${checks[@]}"; do . "$check"; done
  [ "$check_failures" = 0 ] || status=1
fi
exit $status
