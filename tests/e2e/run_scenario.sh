#!/usr/bin/env bash
# Runs one end-to-end scenario: prepares a fresh medium (Setup.exe and the scenario's script in an
# empty directory), applies the scenario's machine settings, lets the robot start Setup.exe there
# and walk through the steps, and puts every setting back afterwards.
#
# Usage: run_scenario.sh ROBOT_EXE SETUP_EXE SCENARIO
#
# Settings are comment lines of the scenario that the robot ignores:
#   #! script FILE          the medium's SetupScript.ini (relative to the scenario); none: no script
#   #! win98                Setup.exe runs under Wine's Windows 98 emulation
#   #! wininit SIZE|none    C:\windows\Wininit.exe of SIZE bytes, or no such file
#   #! no-programfilesdir   the registry value ProgramFilesDir is absent
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

windows_dir="$WINEPREFIX/drive_c/windows"
appdefaults='HKCU\Software\Wine\AppDefaults\Setup.exe'
version_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion'
restore=()
cleanup() {
  for ((i = ${#restore[@]} - 1; i >= 0; i--)); do eval "${restore[$i]}"; done
}
trap cleanup EXIT

while read -r directive value; do
  case "$directive" in
    script)
      cp "$scenario_dir/$value" "$medium/SetupScript.ini" || exit 1 ;;
    win98)
      wine reg add "$appdefaults" /v Version /d win98 /f >/dev/null 2>&1
      restore+=("wine reg delete '$appdefaults' /f >/dev/null 2>&1") ;;
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
    *) echo "run_scenario: unknown setting '#! $directive'"; exit 1 ;;
  esac
done < <(sed -n 's/^#! *//p' "$scenario")

cd "$medium" || exit 1
"$here/../wine/wine-run" "$robot" "$scenario"
status=$?
exit $status
