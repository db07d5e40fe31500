#!/usr/bin/env bash
# The process guard's ToolHelp walk, under Wine's Windows 98 emulation: a running notepad.exe is
# found by its file name.
# Usage: process_guard_win98.sh PROCESS_PROBE_EXE
set -u
probe=$1
here=$(cd "$(dirname "$0")" && pwd)
run="$here/../wine/wine-run"
key='HKCU\Software\Wine\AppDefaults\process_probe.exe'

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  exec "$here/../wine/with-wine" "$0" "$@"
fi

wine notepad.exe >/dev/null 2>&1 </dev/null &
notepad=$!
cleanup() {
  kill "$notepad" 2>/dev/null
  wine reg delete "$key" /f >/dev/null 2>&1
}
trap cleanup EXIT
wine reg add "$key" /v Version /d win98 /f >/dev/null 2>&1 || { echo "FAIL: cannot set the Windows 98 emulation"; exit 1; }

# Wait for notepad to appear, up to 20 s.
found=""
for _ in $(seq 1 200); do
  out=$("$run" "$probe" NOTEPAD.EXE | tr -d '\r')
  if printf '%s\n' "$out" | grep -qx 'notepad.exe running'; then found=1; break; fi
  sleep 0.1
done
printf '%s\n' "$out"
printf '%s\n' "$out" | grep -qx 'platform 1' || { echo "FAIL: the probe did not run as Windows 98"; exit 1; }
[ -n "$found" ] || { echo "FAIL: notepad.exe not found by the ToolHelp walk"; exit 1; }

echo "ok: ToolHelp walk finds notepad.exe under Windows 98 emulation"
