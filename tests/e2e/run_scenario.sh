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
#   #! zeros TO BYTES       a file of BYTES zero bytes on the medium (made sparse, at once)
#   #! words TO BYTES       a text of BYTES bytes on the medium: lines of words from a short list
#                           and numbers, which the medium's compression takes to about a third
#   #! qsmedia DESCRIPTION TREE [OPTION...]  qsmedia.exe of the build lays out a medium in the
#                           folder "disks" from DESCRIPTION (relative to the scenario) and TREE (on
#                           the medium), with the OPTIONs given (--compress); the robot then runs in
#                           that medium's DISK1, or in the medium itself when it has no disks
#   #! single-file DESCRIPTION TREE NAME [OPTION...]  qsmedia.exe of the build packs a medium from
#                           DESCRIPTION (relative to the scenario) and TREE (on the medium) into the
#                           one program NAME, alone in the folder "download" of the medium, where the
#                           robot then runs; unpacking folders left in Wine's temporary folders by
#                           earlier runs are removed first (unpack_folders)
#   #! damage NAME OFFSET   the byte at OFFSET of the file NAME where the robot runs is changed (a
#                           negative OFFSET counts from the end)
#   #! truncate NAME BYTES  the file NAME where the robot runs loses its last BYTES bytes
#   #! check FILE           after the robot's steps held: FILE (bash, relative to the scenario) checks
#                           the end state with the functions of check_helpers.sh
#   #! planted NAME...      a library that notes its loading (payload/planted_library.dll) as
#                           NAME.dll on the medium (beside the single file of "#! single-file", which
#                           must come first), in the Windows TEMP directory and in C:\qse2e\app
#                           (where the scripts install the uninstaller), with Windows' search order
#                           for these names in Setup.exe, QSUninstall.exe and the single file's
#                           program (Wine's default takes
#                           its own); the run fails when one is loaded. Names that the system's own
#                           libraries load under Wine before any program code runs (Windows takes
#                           them from its own folder) are measured first with
#                           payload/system_libraries_only.exe, named and left out
#   #! small-drive LETTER SIZE  Wine's drive LETTER: is a file system of SIZE (tmpfs, 3m), mounted
#                           for the run; where mounting is refused the scenario is skipped (exit 77)
#   #! win98                Setup.exe and QSUninstall.exe run under Wine's Windows 98 emulation
#   #! wininit SIZE|none    C:\windows\Wininit.exe of SIZE bytes, or no such file
#   #! read-only-medium     the medium as it stands so far, mounted read-only over itself (a CD);
#                           the check's medium_listing then lists it, medium_before as it was; the
#                           scenario is skipped (exit status 77) where mounting is not permitted
#   #! no-programfilesdir   the registry value ProgramFilesDir is absent
#   #! no-programs-folder   the shell cannot name the Start menu's Programs folder
#   #! programs-dir PATH    a folder PATH (below qse2e) in the Start menu's Programs folder
#
# QS_E2E_WINDOWS=winxp|win7|win10 (any version name of Wine's) runs Setup.exe and QSUninstall.exe
# as that Windows version, unless the scenario asks for Windows 98.
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
planted_log=""
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
# unpack_folders — the folders a single-file installer unpacks into, wherever Wine's temporary
# folders are (its checks expect none).
unpack_folders() { find "$WINEPREFIX/drive_c" -maxdepth 7 -type d -regex '.*/qs-[0-9a-f]\{16\}' 2>/dev/null; }
# medium_listing — every file of the medium with its size, one a line.
medium_listing() { (cd "$medium" && find . -type f -printf '%P %s\n' | sort); }
# write_words FILE WORDS — WORDS and a line end as FILE, its folders made.
write_words() { mkdir -p "$(dirname "$1")" && printf '%s\n' "$2" >"$1"; }
# windows_owned RELPATH — RELPATH below C:\windows is removed before and after the run.
windows_owned() {
  rm -rf "${windows_dir:?}/$1"
  restore+=("rm -rf '$windows_dir/$1'")
}
# plant_libraries NAME... — see "#! planted" above.
plant_libraries() {
  local markers="$WINEPREFIX/drive_c/qsplanted" platform="$work_root/$name.platform" reg="$work_root/$name.reg"
  local library="$payload/planted_library.dll" names=() name_ program
  rm -rf "$markers" "$platform"
  restore+=("rm -rf '$markers' '$platform' '$reg'")
  # overrides PROGRAM NAME... — Windows' search order for NAME.dll in PROGRAM, in one registry import.
  overrides() {
    local program=$1 each
    shift
    { printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s\\DllOverrides]\n' "$program"
      for each; do printf '"%s"="native,builtin"\n' "$each"; done; } >"$reg"
    wine regedit /s "$(winepath -w "$reg")" >/dev/null 2>&1
    restore+=("wine reg delete 'HKCU\\Software\\Wine\\AppDefaults\\$program\\DllOverrides' /f >/dev/null 2>&1")
  }
  # The program that only imports the system folder's libraries loads what the platform's own
  # libraries load by themselves. Each planted copy it loads is left out, and the measurement
  # repeats without it: a planted copy imports nothing, so it hid what the real one loads.
  names=("$@")
  local found=1 left
  mkdir -p "$platform"
  cp "$payload/system_libraries_only.exe" "$platform/" || return 1
  while [ $found = 1 ] && [ ${#names[@]} -gt 0 ]; do
    found=0 left=()
    rm -f "$platform"/*.dll "$markers/loaded.txt"
    for name_ in "${names[@]}"; do cp "$library" "$platform/$name_.dll" || return 1; done
    overrides system_libraries_only.exe "${names[@]}"
    "$here/../wine/wine-run" "$platform/system_libraries_only.exe" >/dev/null 2>&1
    for name_ in "${names[@]}"; do
      if grep -qiF "\\$name_.dll " "$markers/loaded.txt" 2>/dev/null; then
        echo "planted: the system's own libraries load $name_.dll under Wine before any program code runs: left out"
        found=1
      else
        left+=("$name_")
      fi
    done
    names=("${left[@]}")
  done
  rm -rf "$markers"
  [ ${#names[@]} -gt 0 ] || { echo "run_scenario: every planted name is loaded by the system itself"; return 1; }
  for name_ in "${names[@]}"; do
    cp "$library" "${run_dir:-$medium}/$name_.dll" && mkdir -p "$qse2e/app" && cp "$library" "$qse2e/app/$name_.dll" || return 1
    windows_owned "temp/$name_.dll"
    cp "$library" "$windows_dir/temp/$name_.dll" || return 1
  done
  for program in Setup.exe QSUninstall.exe ${single_file:+"$single_file"}; do overrides "$program" "${names[@]}"; done
  echo "planted: ${names[*]}"
  planted_log="$markers/loaded.txt"
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

# set_windows_version VERSION — Setup.exe and QSUninstall.exe see VERSION until the run is over.
set_windows_version() {
  local program
  for program in "$appdefaults" "${appdefaults%Setup.exe}QSUninstall.exe"; do
    wine reg add "$program" /v Version /d "$1" /f >/dev/null 2>&1
    restore+=("wine reg delete '$program' /f >/dev/null 2>&1")
  done
}
[ -z "${QS_E2E_WINDOWS:-}" ] || set_windows_version "$QS_E2E_WINDOWS"

# hold_file WINPATH — a process of the prefix keeps WINPATH in use until the run is over. The
# holder says so by making a file; one that ends without is reported at once. Wine sometimes fails
# to start a program on a loaded machine (it neither runs nor ends): after 30 s without a word the
# holder is ended and started again, three times at most.
holds=0
hold_file() {
  local ready="$work_root/$name.held$((holds += 1))" holder attempt
  for attempt in 1 2 3; do
    rm -f "$ready"
    wine "$payload/probe.exe" hold "$1" "$(winepath -w "$ready" 2>/dev/null)" </dev/null >/dev/null 2>"$ready.said" &
    holder=$!
    for _ in $(seq 1 300); do [ -e "$ready" ] || ! kill -0 $holder 2>/dev/null && break; sleep 0.1; done
    if [ -e "$ready" ]; then
      restore+=("kill $holder 2>/dev/null; wait $holder 2>/dev/null; rm -f '$ready' '$ready.said'")
      return 0
    fi
    if ! kill -0 $holder 2>/dev/null; then
      wait $holder
      echo "run_scenario: $1 could not be held: the holder ended with status $? (1: the file could not be opened or loaded)"
      grep -a 'probe:' "$ready.said"
      return 1
    fi
    kill $holder 2>/dev/null
    wait $holder 2>/dev/null
    echo "run_scenario: the holder of $1 did not start within 30 s (attempt $attempt of 3)"
  done
  return 1
}

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
    zeros)
      read -r to bytes <<<"$value"
      mkdir -p "$(dirname "$medium/$to")" && truncate -s "$bytes" "$medium/$to" || exit 1 ;;
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
      run_dir="$medium/disks"
      [ -d "$run_dir/DISK1" ] && run_dir="$run_dir/DISK1" ;;
    single-file)
      read -r description tree single_file options <<<"$value"
      mkdir -p "$medium/download" || exit 1
      unpack_folders | xargs -r -d '\n' rm -rf
      # shellcheck disable=SC2086  # the options split into words
      "$here/../wine/wine-run" "$(dirname "$setup")/qsmedia.exe" "$(winepath -w "$scenario_dir/$description")" \
        --single-file "$(winepath -w "$medium/download/$single_file")" --tree "$(winepath -w "$medium/$tree")" $options ||
        exit 1
      run_dir="$medium/download" ;;
    damage)
      read -r file offset <<<"$value"
      file="${run_dir:-$medium}/$file"
      [ "$offset" -ge 0 ] || offset=$(($(stat -c %s "$file") + offset))
      byte=$(od -An -tu1 -j"$offset" -N1 "$file" | tr -d ' ')
      # shellcheck disable=SC2059  # the format is the byte's octal escape
      printf "\\$(printf %o $((byte ^ 0x55)))" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none || exit 1 ;;
    truncate)
      read -r file bytes <<<"$value"
      truncate -s "-$bytes" "${run_dir:-$medium}/$file" || exit 1 ;;
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
      read -r file from <<<"$value"
      windows_owned "system32/$file"
      [ -z "$from" ] || cp "$(source_file "$from")" "$windows_dir/system32/$file" || exit 1 ;;
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
      hold_file "$value" || exit 1 ;;
    planted)
      plant_libraries $value || exit 1 ;;
    small-drive)
      read -r letter size <<<"$value"
      drive="$work_root/$name.drive" link="$WINEPREFIX/dosdevices/${letter,,}:"
      [ ! -e "$link" ] && [ ! -L "$link" ] || { echo "run_scenario: Wine already has a drive ${letter^^}:"; exit 1; }
      mkdir -p "$drive"
      if ! mount -t tmpfs -o "size=$size" quillset-e2e "$drive" 2>/dev/null; then
        echo "run_scenario: a file system of $size cannot be mounted here (not permitted): skipped"
        exit 77
      fi
      restore+=("umount -l '$drive'")
      ln -s "$drive" "$link" || exit 1
      restore+=("rm -f '$link'") ;;
    win98)
      set_windows_version win98 ;;
    wininit)
      if [ -e "$windows_dir/wininit.exe" ]; then
        mv "$windows_dir/wininit.exe" "$windows_dir/wininit.exe.e2e-saved"
        restore+=("mv '$windows_dir/wininit.exe.e2e-saved' '$windows_dir/wininit.exe'")
      fi
      restore+=("rm -f '$windows_dir/wininit.exe'")
      [ "$value" = none ] || head -c "$value" /dev/zero >"$windows_dir/wininit.exe" ;;
    read-only-medium)
      if ! mount --bind "$medium" "$medium" 2>/dev/null; then
        echo "run_scenario: SKIP: a read-only medium needs a bind mount, which is not permitted here"
        exit 77
      fi
      # Lazily: the shell and Wine may still be in the folder when the run is over.
      restore+=("umount -l '$medium'")
      mount -o remount,bind,ro "$medium" || { echo "run_scenario: the medium could not be made read-only"; exit 1; }
      medium_before=$(medium_listing) ;;
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
if [ -n "$planted_log" ] && [ -e "$planted_log" ]; then
  echo "FAIL planted libraries were loaded:"
  tr -d '\r' <"$planted_log"
  status=1
fi
if [ $status = 0 ] && [ ${#checks[@]} -gt 0 ]; then
  # shellcheck source=check_helpers.sh
  . "$here/check_helpers.sh"
  for check in "${checks[@]}"; do . "$check"; done
  [ "$check_failures" = 0 ] || status=1
fi
exit $status
