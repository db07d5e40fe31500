#!/usr/bin/env bash
# What an upgrade's log costs: the copy phase of Setup.exe over the bench's medium payload (2,000
# files of 100 KiB in 20 folders), installed afresh and installed over the Uninstall.log of an
# earlier installation of the same files (2,000 records, carried into the new log and, since the
# run installs every file again, dropped when it is written once more at the end). The two cases
# take turns, each round in the other order. Not part of make bench: run it beside a change to the
# log (bench/README.md, "An upgrade's log").
#
# Usage: bench/upgrade_log.sh [--runs N] [--files N] [--release DIR]
#   --runs N     rounds (default 5)   --files N  files (default 2000, in folders of 100)
#   --release DIR  the x86_64 release build whose Setup.exe is measured (default build/release-win64)
# The copy phase: afresh, from the log's creation (its birth time) to its last write (its
# modification time), as make bench measures it; over an earlier log, from the moment the run read
# that log (the access time of a second link to it, which keeps it after the run replaced it) to
# the new log's last write; and of those the parts before the first file and after the last. Prints
# each run and the medians; exit status 0 when every run installed.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
runs=5 files=2000 release="$top/build/release-win64"
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift ;;
    --files) files=$2; shift ;;
    --release) release=$2; shift ;;
    *) echo "usage: upgrade_log.sh [--runs N] [--files N] [--release DIR]" >&2; exit 64 ;;
  esac
  shift
done
release=$(realpath "$release")
[ -f "$release/Setup.exe" ] || { echo "upgrade_log: no $release/Setup.exe (make release builds it)" >&2; exit 1; }
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  exec "$top/tests/wine/with-wine" "$0" --runs "$runs" --files "$files" --release "$release"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/qs-upgrade-bench.XXXXXX")
target="$WINEPREFIX/drive_c/qsbench"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QS Upgrade Bench'
clean_target() {
  rm -rf "$target"
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
}
trap 'clean_target; rm -rf "$work"' EXIT
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a - b }'; }

# The medium: folders of 100 random files, the script cut down to the copy page.
medium="$work/medium"
mkdir -p "$medium/files"
cp "$release/Setup.exe" "$medium/"
{
  printf '%s\r\n' 'SetAppName("QS Upgrade Bench");' 'SetVariable("DP","C:\qsbench\setup\");' \
    'CreateSection("Main","1","0","Files");'
  for ((folder = 1; folder <= (files + 99) / 100; folder++)); do
    mkdir -p "$medium/files/folder$folder"
    head -c $((100 * 100 * 1024)) /dev/urandom |
      (cd "$medium/files/folder$folder" && split -b $((100 * 1024)) -d -a 4 --additional-suffix=.bin - data-)
    printf '%s\r\n' "AddFile(\"[SP]\\files\\folder$folder\\*.*\",\"[DP]\\folder$folder\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");"
  done
  printf '%s\r\n' 'ShowCopy();'
} >"$medium/SetupScript.ini"

log="$target/setup/Uninstall.log"
# install CASE: one run of Setup.exe; prints "CASE COPY BEFORE AFTER" in seconds: the copy phase,
# and its parts before the first file was made and after the last one was put in place (its status
# change time: the installer keeps the source's modification time), where the log's own work lies
# apart from the copying, whose time on this shared machine varies far more.
install() {
  local started first last
  if [ "$1" = upgrade ]; then
    mkdir -p "$target/setup"
    cp "$work/earlier.log" "$log"
    ln "$log" "$work/earlier-link.log"
  fi
  sync
  (cd "$medium" && timeout 1800 wine Setup.exe </dev/null >/dev/null 2>&1)
  [ -f "$log" ] || { echo "upgrade_log: no log after the $1 run" >&2; exit 1; }
  if [ "$1" = upgrade ]; then
    started=$(stat -c %.9X "$work/earlier-link.log")
    rm -f "$work/earlier-link.log"
  else
    started=$(stat -c %.9W "$log")
  fi
  first=$(find "$target/setup" -name '*.bin' -exec stat -c %.9W {} + | awk 'NR == 1 || $1 < m { m = $1 } END { print m }')
  last=$(find "$target/setup" -name '*.bin' -exec stat -c %.9Z {} + | awk '$1 > m { m = $1 } END { print m }')
  echo "$1 $(minus "$(stat -c %.9Y "$log")" "$started") $(minus "$first" "$started") $(minus "$(stat -c %.9Y "$log")" "$last")"
}

# The earlier log: a whole installation's, made once.
clean_target
install fresh >/dev/null
cp "$log" "$work/earlier.log"
echo "upgrade_log: an earlier log of $(grep -c NONSHARED "$work/earlier.log") records, $(stat -c %s "$work/earlier.log") bytes"
for ((round = 1; round <= runs; round++)); do
  cases=(fresh upgrade)
  ((round % 2)) || cases=(upgrade fresh)
  for case_name in "${cases[@]}"; do
    clean_target
    install "$case_name" | tee -a "$work/results"
    [ "$case_name" = fresh ] || [ "$(grep -c NONSHARED "$log")" = "$(grep -c NONSHARED "$work/earlier.log")" ] ||
      { echo "upgrade_log: the upgrade's log does not hold each file once" >&2; exit 1; }
  done
done
median() { awk -v c="$1" -v f="${2:-2}" '$1 == c { print $f }' "$work/results" | sort -g |
  awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
for part in 2:copy 3:before 4:after; do
  fresh=$(median fresh "${part%%:*}") upgrade=$(median upgrade "${part%%:*}")
  echo "upgrade_log: ${part#*:} medians over $runs rounds: afresh $fresh s, over the earlier log $upgrade s" \
    "($(awk -v a="$upgrade" -v b="$fresh" 'BEGIN { printf "%+.3f s", a - b }'))"
done
