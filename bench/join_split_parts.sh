#!/usr/bin/env bash
# Joining a file split over several disks: one 300 MiB file in three parts of 100 MiB on three
# disk folders of a medium, installed by Setup.exe under Wine with a script that shows only the
# copy page. For comparison, the same bytes as one ordinary file on the same medium. Reports the
# wall time of each run and Setup.exe's peak resident memory, and checks the installed bytes.
#
# Usage: bench/join_split_parts.sh [WIN64_BUILD_DIR]    (default: build/win64; it builds nothing)
# QS_WINEPREFIX=DIR runs it in a Wine prefix of its own (default: the build's, as tests/wine/with-wine).
# Needs GNU time (/usr/bin/time) and about 1.3 GB of free space in TMPDIR and the Wine prefix.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
build=$(realpath "${1:-$top/build/win64}")
setup="$build/Setup.exe"
[ -f "$setup" ] || { echo "join_split_parts: no $setup (build the win64 configuration first)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "join_split_parts: GNU time (/usr/bin/time) is needed" >&2; exit 1; }
if [ -z "${QS_BENCH_IN_WINE:-}" ]; then
  QS_BENCH_IN_WINE=1 exec "$top/tests/wine/with-wine" "$0" "$build"
fi

part_mib=100
app_name='QS Bench Join'
destination="$WINEPREFIX/drive_c/qse2e-bench"
join_file="$WINEPREFIX/drive_c/windows/temp/big.dat.ToInstall.TMP"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app_name"
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-bench-join.XXXXXX")

clean_target() {
  rm -rf "$destination" "$join_file"
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
}
# Setup.exe makes a program group named after the application in the Start menu's Programs folder.
program_group() { find "$WINEPREFIX/drive_c/users" -maxdepth 8 -type d -path "*Start Menu/Programs/$app_name"; }
trap 'clean_target; rm -rf "$work"; program_group | xargs -r -d "\n" rm -rf' EXIT

echo "join_split_parts: writing 3 parts of $part_mib MiB under $work" >&2
for n in 1 2 3; do
  mkdir -p "$work/split/disk$n"
  head -c "$((part_mib * 1024 * 1024))" /dev/urandom >"$work/split/disk$n/big.00$n"
done
mkdir -p "$work/whole/disk1"
cat "$work"/split/disk{1,2,3}/big.00? >"$work/whole/disk1/big.dat"

# The medium's script: CR LF line ends, as script authors write them.
write_script() {  # write_script MEDIUM ADDFILE_LINE...
  local medium=$1
  shift
  {
    printf '%s\r\n' "SetAppName(\"$app_name\");" 'SetVariable("DP","C:\qse2e-bench\");' \
      'CreateSection("Main","1","0","Program");' "$@" 'ShowCopy();'
  } >"$medium/SetupScript.ini"
  cp "$setup" "$medium/Setup.exe"
}
write_script "$work/split" \
  'AddFile("[SP]\disk1\big.001","[DP]\big.dat","Main","0","1","1","0","0","0","");' \
  'AddFile("[SP]\disk2\big.002","[DP]\big.dat","Main","0","2","1","0","0","0","");' \
  'AddFile("[SP]\disk3\big.003","[DP]\big.dat","Main","0","3","1","1","0","0","");'
write_script "$work/whole" 'AddFile("[SP]\disk1\big.dat","[DP]\big.dat","Main","0","1","0","0","0","0","");'

# run CASE: one unattended run of Setup.exe on medium CASE; sets seconds, peak_mib, bytes.
run() {
  local medium="$work/$1" status start end
  clean_target
  start=$(date +%s.%N)
  status=0
  (cd "$medium" && /usr/bin/time -v -o "$work/time.$1" timeout 1800 wine Setup.exe </dev/null >/dev/null 2>&1) ||
    status=$?
  end=$(date +%s.%N)
  [ "$status" = 0 ] || { echo "join_split_parts: Setup.exe on the $1 medium exited with $status" >&2; exit 1; }
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
  peak_mib=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$work/time.$1")
  bytes=DIFFERENT
  if cat "$work"/split/disk{1,2,3}/big.00? | cmp -s - "$destination/big.dat"; then bytes=identical; fi
  [ ! -e "$join_file" ] || bytes="$bytes, join file left"
}

run whole
whole_seconds=$seconds whole_peak=$peak_mib whole_bytes=$bytes
run split
split_seconds=$seconds split_peak=$peak_mib split_bytes=$bytes

printf '\n%-40s %9s %15s  %s\n' "$((3 * part_mib)) MiB installed by Setup.exe" 'wall s' 'peak RSS MiB' 'bytes'
printf '%-40s %9.2f %15s  %s\n' 'one ordinary file' "$whole_seconds" "$whole_peak" "$whole_bytes"
printf '%-40s %9.2f %15s  %s\n' "3 parts of $part_mib MiB on 3 disks, joined" "$split_seconds" "$split_peak" \
  "$split_bytes"
printf '%-40s %9.2f\n' 'joined / ordinary' "$(awk -v a="$split_seconds" -v b="$whole_seconds" 'BEGIN { print a / b }')"
[ "$whole_bytes" = identical ] && [ "$split_bytes" = identical ]
