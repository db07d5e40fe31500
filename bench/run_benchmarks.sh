#!/usr/bin/env bash
# The benchmarks of `make bench` (bench/README.md): installation speed against the platform's floor
# and a peer, script size, memory. Generates its own payloads, runs each case several times with
# the cases of one round side by side, and prints a table of medians.
#
# Usage: bench/run_benchmarks.sh [--smoke] [--runs N] [--win64 DIR] [--release DIR] [--release32 DIR]
#                                [--qscheck PATH] [--out FILE] [--sweep SIZES] [--sweep-runs N]
#                                [--sweep-only] [--step-clock]
#   --smoke      tiny payloads and one run: checks that every case still runs and installs the
#                right bytes (the test suite runs this); its figures mean nothing
#   --runs N     rounds of the copy cases (default 5; the 10,000-file install runs at most twice)
#   --win64 DIR  the Windows test build with copy_floor.exe, sections_page_bench.exe and the robot
#                (which answers the single file's pages; default build/win64)
#   --release DIR    the x86_64 release build, whose Setup.exe is measured (default
#                    build/release-win64)
#   --release32 DIR  the i686 release build, whose program sizes are reported beside the x86_64
#                    ones (default build/release-win32)
#   --qscheck P  the native qscheck to measure (default build/tools/qscheck, the optimised one);
#                the qsmedia beside it lays out the media of the compressed-media cases and the
#                single file, whose payload the single_file_unpack beside it unpacks natively
#   --out FILE   also write the table there (default build/bench/results.md)
#   --sweep SIZES    the folder sizes of the many-small-files sweep, files of 1 KiB per folder
#                    (default "100 500 2000"; "" leaves the sweep out; 10000 adds about 25 minutes
#                    at 3 rounds): at each size at least 2,000 files, in as many folders as it takes
#   --sweep-runs N   rounds of the sweep (default 3)
#   --sweep-only     the sweep alone (and the runs with nothing to copy it needs)
#   --step-clock     Setup.exe is a build with the step clock (-DQUILLSET_STEP_CLOCK=ON, given with
#                    --release): the sweep's table then tells where its copy phase goes, step by step
# QS_WINEPREFIX=DIR runs it in a Wine prefix of its own (as tests/wine/with-wine).
# Needs makensis (Debian's nsis), GNU time and, with the default sizes, about 2 GB of free space
# in TMPDIR and the Wine prefix.
set -euo pipefail
export LC_ALL=C  # numbers with a full stop, whatever the caller's locale

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
smoke=0 runs=5 sweep_sizes="100 500 2000" sweep_runs=3 sweep_only=0 step_clock=0 win64="$top/build/win64" qscheck="$top/build/tools/qscheck" out="$top/build/bench/results.md"
release="$top/build/release-win64" release32="$top/build/release-win32"
while [ $# -gt 0 ]; do
  case $1 in
    --smoke) smoke=1 runs=1 sweep_runs=1 ;;
    --runs) runs=$2; shift ;;
    --sweep) sweep_sizes=$2; sweep_given=1; shift ;;
    --sweep-runs) sweep_runs=$2; shift ;;
    --sweep-only) sweep_only=1 ;;
    --step-clock) step_clock=1 ;;
    --win64) win64=$2; shift ;;
    --release) release=$2; shift ;;
    --release32) release32=$2; shift ;;
    --qscheck) qscheck=$2; shift ;;
    --out) out=$2; shift ;;
    *) echo "usage: run_benchmarks.sh [--smoke] [--runs N] [--win64 DIR] [--release DIR] [--release32 DIR] [--qscheck PATH] [--out FILE] [--sweep SIZES] [--sweep-runs N] [--sweep-only] [--step-clock]" >&2; exit 64 ;;
  esac
  shift
done
if [ $smoke = 1 ] && [ -z "${sweep_given:-}" ]; then sweep_sizes="4 10 20"; fi
win64=$(realpath "$win64") qscheck=$(realpath "$qscheck") release=$(realpath "$release") release32=$(realpath "$release32")
qsmedia=$(dirname "$qscheck")/qsmedia single_file_unpack=$(dirname "$qscheck")/single_file_unpack
for program in "$release/Setup.exe" "$release/QSUninstall.exe" "$release/QSStarter.exe" "$release32/Setup.exe" \
               "$release32/QSUninstall.exe" "$release32/QSStarter.exe" "$win64/copy_floor.exe" \
               "$win64/sections_page_bench.exe" "$win64/robot.exe" "$qscheck" "$qsmedia" "$single_file_unpack" \
               "$win64/first_page_bench.exe" "$win64/empty_program.exe" "$win64/demo-payload/QuillDemo.exe"; do
  [ -f "$program" ] || { echo "run_benchmarks: no $program (make release win64 tools builds it)" >&2; exit 1; }
done
command -v makensis >/dev/null || { echo "run_benchmarks: makensis is needed (Debian package nsis)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "run_benchmarks: GNU time (/usr/bin/time) is needed" >&2; exit 1; }

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  args=(--runs "$runs" --win64 "$win64" --release "$release" --release32 "$release32" --qscheck "$qscheck" --out "$out")
  [ $smoke = 1 ] && args+=(--smoke)
  args+=(--sweep "$sweep_sizes" --sweep-runs "$sweep_runs")
  [ $sweep_only = 1 ] && args+=(--sweep-only)
  [ $step_clock = 1 ] && args+=(--step-clock)
  exec "$top/tests/wine/with-wine" "$0" "${args[@]}"
fi

# Sizes: the issue's cases, or a tiny version of each.
if [ $smoke = 1 ]; then
  medium_folders=2 medium_files=20 medium_file_kib=4 large_mib=1 script_mib=1 many_files=100 many_per_folder=10
  references=1000 sweep_files=20
else
  medium_folders=20 medium_files=2000 medium_file_kib=100 large_mib=200 script_mib=50 many_files=10000 many_per_folder=100
  references=80000 sweep_files=2000
fi
memory_runs=$((runs < 2 ? runs : 2))  # peak memory varies little; each run takes minutes

work=$(mktemp -d "${TMPDIR:-/tmp}/qs-bench.XXXXXX")
target="$WINEPREFIX/drive_c/qsbench"
app_name='QS Bench'
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app_name"
# The media lie on a drive of their own, M:, as on a CD: M:\medium\files\folder01\... Under
# Wine's Z: they would sit below /tmp, and every short path the design asks for would look up each
# of those directories too.
drive="$WINEPREFIX/dosdevices/m:"
[ ! -e "$drive" ] && [ ! -L "$drive" ] || { echo "run_benchmarks: drive M: is taken in $WINEPREFIX" >&2; exit 1; }
ln -s "$work" "$drive"
clean_target() {
  rm -rf "$target"
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
  mkdir -p "$target"  # the bare loops make only the last level of their destination
}
# Setup.exe makes a program group named after the application in the Start menu's Programs folder.
program_group() { find "$WINEPREFIX/drive_c/users" -maxdepth 8 -type d -path "*Start Menu/Programs/$app_name"; }
trap 'clean_target; rm -rf "$target" "$work" "$drive"; program_group | xargs -r -d "\n" rm -rf' EXIT
say() { echo "run_benchmarks: $*" >&2; }
trap 'say "stopped at line $LINENO (status $?)"' ERR
fail() { say "$*"; exit 1; }
now() { date +%s.%N; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a - b }'; }

# The file system must tell when a file was made (statx birth time), or the log cannot be read as
# a clock.
mkdir -p "$target" && touch "$target/birth"
[ "$(stat -c %W "$target/birth")" != 0 ] && [ "$(stat -c %W "$target/birth")" != '?' ] ||
  fail "this file system records no creation times; the copy phase cannot be timed from the log"

results="$work/results"
: >"$results"
record() { echo "$*" >>"$results"; }  # record GROUP CASE COPY_SECONDS WALL_SECONDS PEAK_KIB

# ---- payloads ---------------------------------------------------------------------------------

# random_files DIR COUNT KIB: COUNT files of KIB KiB of random bytes, data-0000.bin ...
random_files() {
  mkdir -p "$1"
  head -c "$(($2 * $3 * 1024))" /dev/urandom | (cd "$1" && split -b "$(($3 * 1024))" -d -a 4 --additional-suffix=.bin - data-)
}

# setup_medium DIR ADDFILE_LINE...: Setup.exe and a script that shows only the copy page, with CR
# LF line ends as script authors write them.
setup_medium() {
  local medium=$1
  shift
  mkdir -p "$medium"
  cp "$release/Setup.exe" "$medium/Setup.exe"
  {
    printf '%s\r\n' "SetAppName(\"$app_name\");" 'SetVariable("DP","C:\qsbench\setup\");' \
      'CreateSection("Main","1","0","Files");'
    [ $# -gt 0 ] && printf '%s\r\n' "$@"
    printf '%s\r\n' 'ShowCopy();'
  } >"$medium/SetupScript.ini"
}

# nsis_installer NAME FILES_DIR [COMPRESSION]: a silent NSIS installer of the files, which marks the
# start and the end of its copying with two empty files. No compression unless COMPRESSION gives
# the NSIS commands for it (the random payloads do not compress), and no search for blocks of data
# already stored (over 2,000 files it takes makensis minutes, and finds none).
nsis_installer() {
  local compression=${3:-SetCompress off}
  cat >"$work/$1.nsi" <<EOF
Target amd64-unicode
Name "$app_name"
OutFile "$work/$1.exe"
InstallDir "C:\\qsbench\\nsis"
RequestExecutionLevel user
SilentInstall silent
$compression
SetDatablockOptimize off
Section
  SetOutPath "\$INSTDIR"
  FileOpen \$0 "\$INSTDIR\\copy-start.mark" w
  FileClose \$0
  File /r "$2/*"
  FileOpen \$0 "\$INSTDIR\\copy-end.mark" w
  FileClose \$0
SectionEnd
EOF
  makensis -V1 "$work/$1.nsi" >"$work/$1.makensis.log" 2>&1 || { cat "$work/$1.makensis.log" >&2; fail "makensis $1 failed"; }
}

setup_medium "$work/empty"
mkdir -p "$work/empty/files"  # the loop's run over nothing, to take from its whole run
# The cases besides the sweep (below), all but the runs with nothing to copy, which it needs too.
if [ $sweep_only = 0 ]; then
say "writing the payloads under $work"
per_folder=$((medium_files / medium_folders))
medium_lines=()
for n in $(seq -w 1 "$medium_folders"); do
  random_files "$work/medium/files/folder$n" "$per_folder" "$medium_file_kib"
  medium_lines+=("AddFile(\"[SP]\\files\\folder$n\\*.*\",\"[DP]\\folder$n\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");")
done
setup_medium "$work/medium" "${medium_lines[@]}"
mkdir -p "$work/large/files"
head -c "$((large_mib * 1024 * 1024))" /dev/urandom >"$work/large/files/large.bin"
setup_medium "$work/large" 'AddFile("[SP]\files\*.*","[DP]\","Main","0","1","0","0","0","0","");'
nsis_installer medium "$work/medium/files"
nsis_installer large "$work/large/files"

# Compressed media: files as a product has them, as many and as large as the medium's: half cut
# from Windows programs (the DLLs Wine installs, their debug sections stripped as a product's are),
# a quarter from text (the system's C headers), a quarter of random bytes (pictures and archives,
# which compression does not make smaller). No two files share bytes, so that no installer gains
# from repeats across files that a product would not have. One medium laid out by qsmedia as it
# is and one with --compress, each with its script cut down to the copy page; NSIS installers of
# the same files with zlib and with LZMA solid.
wine_dlls=$(find /usr/lib /usr/lib64 -maxdepth 4 -type d -name x86_64-windows -path '*wine*' 2>/dev/null | head -1)
[ -n "$wine_dlls" ] || fail "no folder of Wine's 64-bit DLLs (x86_64-windows) below /usr/lib"
file_bytes=$((medium_file_kib * 1024))
# Files 0 and 1 of every four in a folder are programs, file 2 text, file 3 random bytes.
programs_needed=0 text_needed=0
for ((k = 0; k < per_folder; k++)); do
  case $((k % 4)) in 0 | 1) programs_needed=$((programs_needed + medium_folders)) ;; 2) text_needed=$((text_needed + medium_folders)) ;; esac
done
mkdir -p "$work/pool"
for dll in "$wine_dlls"/*.dll; do
  [ "$(stat -c %s "$work/pool/programs" 2>/dev/null || echo 0)" -ge $((programs_needed * file_bytes)) ] && break
  x86_64-w64-mingw32-strip -o "$work/pool/stripped.dll" "$dll" 2>/dev/null && cat "$work/pool/stripped.dll" >>"$work/pool/programs"
done
# head stops cat early: the pipe's status says nothing, the size check below does.
find /usr/include -name '*.h' -print0 | sort -z | xargs -0 cat 2>/dev/null | head -c $((text_needed * file_bytes)) >"$work/pool/text" || true
for pool in programs:$programs_needed text:$text_needed; do
  [ "$(stat -c %s "$work/pool/${pool%:*}")" -ge $((${pool#*:} * file_bytes)) ] ||
    fail "too few bytes of ${pool%:*} for the product payload"
  pool=${pool%:*}
  (cd "$work/pool" && split -b "$file_bytes" -d -a 5 "$pool" "$pool-")
done
program=0 text=0
for n in $(seq -w 1 "$medium_folders"); do
  mkdir -p "$work/product-tree/files/folder$n"
  for k in $(seq -w 0 $((per_folder - 1))); do
    file="$work/product-tree/files/folder$n/data-$k.dat"
    case $((10#$k % 4)) in
      0 | 1) mv "$work/pool/programs-$(printf %05d $program)" "$file"; program=$((program + 1)) ;;
      2) mv "$work/pool/text-$(printf %05d $text)" "$file"; text=$((text + 1)) ;;
      3) head -c "$file_bytes" /dev/urandom >"$file" ;;
    esac
  done
done
rm -rf "$work/pool"
printf 'app = %s\nsection "Main" required = files/\n' "$app_name" >"$work/product-tree/medium.txt"
# product_medium NAME [--compress]: the medium, Setup.exe showing only the copy page into C:\qsbench\setup.
product_medium() {
  local started_at
  started_at=$(now)
  "$qsmedia" "$work/product-tree/medium.txt" "$work/$1" --programs "$release" --qscheck "$qscheck" "${@:2}" \
    >"$work/$1.qsmedia.log" 2>&1 || { cat "$work/$1.qsmedia.log" >&2; fail "qsmedia $1 failed"; }
  record "layout $1 0 $(minus "$(now)" "$started_at") 0"
  sed -i -e '/^Show\(Welcome\|Dest\|Sections\|ProgramGroup\)();/d' \
    -e 's/^SetAppName(.*);\r$/&\nSetVariable("DP","C:\\qsbench\\setup\\");\r/' "$work/$1/SetupScript.ini"
}
product_medium product
product_medium product-compressed --compress
nsis_installer product-zlib "$work/product-tree/files" 'SetCompressor zlib'
nsis_installer product-lzma "$work/product-tree/files" 'SetCompressor /SOLID lzma'
# The same medium as one download (qsmedia --single-file); the robot answers its two pages (the
# script in it is qsmedia's own, with the welcome and destination pages).
started_at=$(now)
"$qsmedia" "$work/product-tree/medium.txt" --single-file "$work/product-single.exe" --programs "$release" \
  --qscheck "$qscheck" >"$work/product-single.qsmedia.log" 2>&1 ||
  { cat "$work/product-single.qsmedia.log" >&2; fail "qsmedia --single-file failed"; }
record "layout product-single 0 $(minus "$(now)" "$started_at") 0"
printf '%s\n' 'timeout 1800' 'start product-single.exe' 'window * #32770 IDD_WELCOME' 'click IDC_NEXT' \
  'window * #32770 IDD_DESTINATION' 'type IDC_DEST_PATH "C:\qsbench\setup\"' 'click IDC_NEXT' 'exit 0' >"$work/single.scenario"

# Many small files, each named by an AddFile statement of its own (what a generated script does).
# For qscheck plan all in one folder; for Setup.exe in folders of 100: Wine looks a new name up by
# reading its whole folder, so 10,000 files in one folder take any installer minutes (README.md).
random_files "$work/plan/files" "$many_files" 1
plan_lines=()
for file in "$work"/plan/files/*; do
  plan_lines+=("AddFile(\"[SP]\\files\\${file##*/}\",\"[DP]\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");")
done
setup_medium "$work/plan" "${plan_lines[@]}"
setup_medium "$work/all" 'AddFile("[SP]\files\*.*","[DP]\","Main","0","1","0","0","0","0","");'
ln -s "$work/plan/files" "$work/all/files"
mapfile -t many_folders < <(seq -f 'd%03g' 1 "$((many_files / many_per_folder))")
many_lines=()
for folder in "${many_folders[@]}"; do
  random_files "$work/many/files/$folder" "$many_per_folder" 1
  for file in "$work/many/files/$folder"/*; do
    many_lines+=("AddFile(\"[SP]\\files\\$folder\\${file##*/}\",\"[DP]\\$folder\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");")
  done
done
setup_medium "$work/many" "${many_lines[@]}"
setup_medium "$work/one" "${many_lines[0]}"
mkdir -p "$work/one/files/${many_folders[0]}"
cp "$work/many/files/${many_folders[0]}/data-0000.bin" "$work/one/files/${many_folders[0]}/"

# A large script of the statements a large medium's script holds, with comments, doubled quotes,
# code page 1252 letters and CR LF line ends.
LC_ALL=C awk -v bytes=$((script_mib * 1024 * 1024)) 'BEGIN {
  size = 0
  for (n = 1; size < bytes; n++) {
    folder = int(n / 1000)
    s = sprintf("// folder %d, file %d\r\n", folder, n)
    s = s sprintf("AddFile(\"[SP]\\files\\folder%03d\\data-file-%06d.bin\",\"[DP]\\folder%03d\\\",\"Section %d\",\"0\",\"1\",\"0\",\"0\",\"0\",\"1\",\"Data file %d\");\r\n", folder, n, folder, folder, n)
    s = s sprintf("SetVariable(\"VALUE%d\",\"C:\\Program Files\\Vendor\\Value %d \"\"quoted\"\" \374ber\");\r\n", n, n)
    s = s sprintf("AddWindow(\"DIALOG_WELCOME\",\"option%d\",\"CHECKBOX\",\"Option %d\",\"0\",\"10\",\"20\",\"100\",\"30\");\r\n", n, n)
    if (n % 1000 == 0) s = s sprintf("CreateSection(\"Section %d\",\"0\",\"0\",\"Files of folder %d\");\r\n", folder, folder)
    printf "%s", s
    size += length(s)
  }
}' >"$work/large-script.ini"
# One message of many references to a variable that nothing sets: lint gives one warning, with
# its count, and must take time in proportion to the text's length.
awk -v n="$references" 'BEGIN { printf "ShowMessage(\""; for (i = 0; i < n; i++) printf "[A]"; print "\",\"t\",\"\",\"NOW\");" }' \
  >"$work/many-references.ini"
fi  # the cases besides the sweep

# Many small files by folder size: for each size of the sweep, files of 1 KiB in folders of that
# many (at least $sweep_files files in all: sweep-SIZE/files/f01/data-0000.bin ...) and two media
# of them: sweep-SIZE with one AddFile wildcard per folder, as a vendor lays out a product, and
# sweep-SIZE-each with one AddFile per file, as a generated script names them. Under Wine each
# new name, and each short name opened, is looked up by reading its whole folder, so the cost of
# a file grows with its folder for every installer (bench/README.md).
for size in $sweep_sizes; do
  wildcard_lines=() each_lines=()
  for folder in $(seq -f 'f%02g' 1 $(((sweep_files + size - 1) / size))); do
    random_files "$work/sweep-$size/files/$folder" "$size" 1
    wildcard_lines+=("AddFile(\"[SP]\\files\\$folder\\*.*\",\"[DP]\\$folder\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");")
    for file in "$work/sweep-$size/files/$folder"/*; do
      each_lines+=("AddFile(\"[SP]\\files\\$folder\\${file##*/}\",\"[DP]\\$folder\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");")
    done
  done
  setup_medium "$work/sweep-$size" "${wildcard_lines[@]}"
  setup_medium "$work/sweep-$size-each" "${each_lines[@]}"
  ln -s "$work/sweep-$size/files" "$work/sweep-$size-each/files"
done
# A Setup.exe built with the step clock writes each step's time here at the end of its run.
[ $step_clock = 1 ] && export QS_STEP_CLOCK='M:\step-clock.txt'

# ---- one run of each kind -----------------------------------------------------------------------


# Whether the installed files are the payload's, byte for byte (the log and the marks aside).
check_installed() {  # check_installed SOURCE DESTINATION WHAT
  diff -rq -x Uninstall.log -x QSUninstall.exe -x '*.mark' "$1" "$2" >"$work/diff" 2>&1 || { head -5 "$work/diff" >&2; fail "$3 did not install the payload"; }
}

# windows_run NAME LEFT COMMAND...: runs a Windows program from a clean destination, with the
# machine's writing done first; sets started and ended, leaves its output in run.out and run.err.
# Wine sometimes fails to start a program on a loaded machine: a run that failed, printed nothing
# and left no LEFT file behind (LEFT: what the program makes first) never ran, and is tried again,
# up to three times.
windows_run() {
  local name=$1 left=$2 status
  shift 2
  for try in 1 2 3; do
    clean_target
    sync
    started=$(now)
    status=0
    "$@" </dev/null >"$work/run.out" 2>"$work/run.err" || status=$?
    ended=$(now)
    [ $status = 0 ] && return 0
    [ -e "$left" ] || [ -s "$work/run.out" ] || [ -s "$work/run.err" ] && break
    say "$name did not start (status $status), try $try of 3"
  done
  cat "$work/run.err" >&2
  fail "$name exited with $status"
}

# run_setup GROUP MEDIUM [check|-] [CASE] [PAYLOAD]: Setup.exe on the medium, recorded as CASE
# (default Setup.exe); check compares what it installed with PAYLOAD (default the medium's files).
# Its copy phase runs from the creation of Uninstall.log (the first thing the copy page does) to
# the log's last write (the last thing it does before closing it): the splash, the window and the
# script's reading lie outside.
run_setup() {
  local group=$1 medium="$work/$2" log="$target/setup/Uninstall.log" name=${4:-Setup.exe} payload=${5:-$work/$2/files}
  rm -f "$work/step-clock.txt"
  windows_run "Setup.exe on $2" "$log" \
    bash -c 'cd "$1" && exec /usr/bin/time -f %M -o "$2" timeout 1800 wine Setup.exe' - "$medium" "$work/peak"
  [ -f "$log" ] || fail "Setup.exe on $2 wrote no Uninstall.log"
  # With the step clock each step is recorded as a case of its own, CASE:STEP, its calls as the
  # third figure.
  if [ $step_clock = 1 ]; then
    [ -s "$work/step-clock.txt" ] || fail "Setup.exe on $2 wrote no step clock (--step-clock needs --release with a build made with -DQUILLSET_STEP_CLOCK=ON)"
    tr -d '\r' <"$work/step-clock.txt" | awk -v g="$group" -v c="$name" '{ print g, c ":" $1, $2, 0, $3 }' >>"$results"
  fi
  local copy
  copy=$(minus "$(stat -c %.9Y "$log")" "$(stat -c %.9W "$log")")
  [ "${3:-}" = check ] && check_installed "$payload" "$target/setup" "Setup.exe on $2"
  record "$group $name $copy $(minus "$ended" "$started") $(cat "$work/peak")"
}

# run_single GROUP [check|-]: the single file, driven by the robot; from its start to the end of the
# copy page (the log's last write), against the folder medium's whole run. Its peak memory is the
# largest resident size of the starter's process while it runs (Wine's own libraries included, as
# in Setup.exe's figures), read from /proc: GNU time would measure the robot. The same watch
# notes when the unpacked Setup.exe starts (to some 20 ms): the starter's check and unpacking.
run_single() {
  local log="$target/setup/Uninstall.log" poller
  rm -f "$work/single-peak" "$work/single-setup-started"
  # It ends with the benchmark, also when a failure ends that at once.
  ( peak=0
    while kill -0 "$$" 2>/dev/null; do
      for pid in $(pgrep -f 'product-single\.exe' 2>/dev/null); do
        kib=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        [ "${kib:-0}" -le "$peak" ] || { peak=$kib; echo "$peak" >"$work/single-peak"; }
      done
      [ -f "$work/single-setup-started" ] || ! pgrep -f 'qs-[0-9a-f]{16}.Setup\.exe' >/dev/null 2>&1 ||
        now >"$work/single-setup-started"
      sleep 0.02
    done ) &
  poller=$!
  windows_run "the single file" "$log" bash -c 'cd "$1" && exec timeout 1800 wine "$2" single.scenario' - "$work" "$win64/robot.exe"
  kill "$poller" 2>/dev/null; wait "$poller" 2>/dev/null || true
  [ -f "$log" ] || fail "the single file wrote no Uninstall.log"
  [ -f "$work/single-setup-started" ] || fail "the single file's Setup.exe was not seen starting"
  [ "${2:-}" = check ] && check_installed "$work/product-tree/files" "$target/setup" "the single file"
  [ -z "$(find "$WINEPREFIX/drive_c" -maxdepth 7 -type d -regex '.*/qs-[0-9a-f]\{16\}')" ] ||
    fail "the single file left its unpacking folder"
  record "$1 single $(minus "$(stat -c %.9Y "$log")" "$started") $(minus "$ended" "$started") $(cat "$work/single-peak" 2>/dev/null || echo 0)"
  record "$1 single-unpacked $(minus "$(cat "$work/single-setup-started")" "$started") 0 0"
}

# run_loop GROUP MODE MEDIUM [check]: copy_floor.exe, which times its own loop; the seconds of the
# shortnames loop's three calls are recorded as cases of their own (shortnames:looked-at ...).
run_loop() {
  local group=$1 mode=$2 medium="$work/$3"
  windows_run "copy_floor $mode on $3" "$target/setup" wine "$win64/copy_floor.exe" "$mode" "M:\\$3\\files" 'C:\qsbench\setup'
  [ "${4:-}" = check ] && check_installed "$medium/files" "$target/setup" "copy_floor $mode on $3"
  record "$group $mode $(tr -d '\r' <"$work/run.out" | awk '{ print $4 }') $(minus "$ended" "$started") 0"
  tr -d '\r' <"$work/run.out" | awk -v g="$group" -v m="$mode" \
    'NF == 7 { print g, m ":looked-at", $5, 0, 0; print g, m ":installer", $6, 0, 0; print g, m ":short-name", $7, 0, 0 }' >>"$results"
}

# run_nsis GROUP NAME [check|-] [CASE] [PAYLOAD]: the NSIS installer, recorded as CASE (default
# nsis); its copy phase runs from its start mark to its end mark.
run_nsis() {
  local group=$1 marks="$target/nsis" name=${4:-nsis} payload=${5:-$work/$2/files}
  windows_run "the NSIS installer of $2" "$marks" timeout 1800 wine "$work/$2.exe" /S
  [ -f "$marks/copy-end.mark" ] || fail "the NSIS installer of $2 did not finish"
  [ "${3:-}" = check ] && check_installed "$payload" "$marks" "the NSIS installer of $2"
  record "$group $name $(minus "$(stat -c %.9Y "$marks/copy-end.mark")" "$(stat -c %.9Y "$marks/copy-start.mark")") $(minus "$ended" "$started") 0"
}

# measure GROUP CASE COMMAND...: wall time and peak memory of a native command, its output discarded.
measure() {
  local group=$1 name=$2 start end
  shift 2
  start=$(now)
  /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>"$work/measure.err" || { cat "$work/measure.err" >&2; fail "$name failed"; }
  end=$(now)
  record "$group $name 0 $(minus "$end" "$start") $(cat "$work/peak")"
}

# ---- the rounds ---------------------------------------------------------------------------------

if [ $sweep_only = 0 ]; then  # the cases besides the sweep, up to its own rounds below
copy_cases=(setup verinstall shortnames copyfile nsis lzsteps bigsteps)
for round in $(seq 1 "$runs"); do
  say "round $round of $runs"
  check=""
  [ "$round" = 1 ] && check=check
  # The cases take turns at going first, so that no case always meets a machine just woken up.
  for i in "${!copy_cases[@]}"; do
    case_name=${copy_cases[$(((i + round - 1) % ${#copy_cases[@]}))]}
    for group in medium large; do
      case $case_name in
        setup) run_setup "$group" "$group" $check ;;
        nsis) run_nsis "$group" "$group" $check ;;
        *) run_loop "$group" "$case_name" "$group" $check ;;
      esac
    done
  done
  product_cases=(plain compressed zlib lzma single)
  for i in "${!product_cases[@]}"; do
    case ${product_cases[$(((i + round - 1) % ${#product_cases[@]}))]} in
      plain) run_setup product product "${check:--}" plain "$work/product-tree/files" ;;
      compressed) run_setup product product-compressed "${check:--}" compressed "$work/product-tree/files" ;;
      zlib) run_nsis product product-zlib "${check:--}" zlib "$work/product-tree/files" ;;
      lzma) run_nsis product product-lzma "${check:--}" lzma "$work/product-tree/files" ;;
      single) run_single product "${check:--}" ;;
    esac
  done
  # The floor of the single file's unpacking: the starter's own check and reader, natively
  # (no Wine, no window), into a folder.
  rm -rf "$work/unpacked-natively"
  started=$(now)
  "$single_file_unpack" "$work/product-single.exe" "$work/unpacked-natively" || fail "single_file_unpack failed"
  record "product single-native $(minus "$(now)" "$started") 0 0"
  rm -rf "$work/unpacked-natively"
  run_setup empty empty
  run_loop empty verinstall empty
  measure statements "qscheck statements" "$qscheck" statements "$work/large-script.ini"
  measure plan "exact names" "$qscheck" plan "$work/plan/SetupScript.ini"
  measure plan "one *.*" "$qscheck" plan "$work/all/SetupScript.ini"
  measure lint "many references" "$qscheck" lint "$work/many-references.ini"
done
for round in $(seq 1 "$memory_runs"); do
  say "the $many_files-file install, run $round of $memory_runs"
  check=""
  [ "$round" = 1 ] && check=check
  run_setup many many $check
  run_setup one one
done
# Once, for comparison: the floor over the same files.
run_loop many verinstall many
say "the sections page"
windows_run sections_page_bench "$work/run.out" wine "$win64/sections_page_bench.exe" "$many_files"
cp "$work/run.out" "$work/sections.out"

# ---- time to the first page ---------------------------------------------------------------------

# Setup.exe from its start to its first page, beside an empty program to its one dialog, all on the
# medium's drive M: (first_page_bench.exe): an empty script (no page: to its end), the demo as
# make demo lays it out (tools/demo.sh), and a script of one AddFile per file, each a wildcard,
# over the many-file case's folders. The demo's samples are small here: no file's bytes are read
# before the first page.
say "the first page"
mkdir -p "$work/first-empty" "$work/first-program" "$work/demo-tree"/{program,shared,files,samples}
cp "$release/Setup.exe" "$work/first-empty/"
: >"$work/first-empty/SetupScript.ini"
cp "$win64/empty_program.exe" "$work/first-program/"
cp "$top"/examples/demo/files/* "$work/demo-tree/files/"
cp "$win64/demo-payload/QuillDemo.exe" "$work/demo-tree/program/"
cp "$win64/demo-payload/quilldemo.dll" "$work/demo-tree/shared/"
for n in $(seq -w 1 40); do head -c 4000 /dev/urandom >"$work/demo-tree/samples/sample$n.dat"; done
"$qsmedia" "$top/examples/demo/medium.txt" "$work/first-demo" --tree "$work/demo-tree" --programs "$release" \
  --qscheck "$qscheck" >"$work/first-demo.qsmedia.log" 2>&1 || { cat "$work/first-demo.qsmedia.log" >&2; fail "qsmedia of the demo failed"; }
mkdir -p "$work/first-many"
cp "$release/Setup.exe" "$work/first-many/"
ln -s "$work/many/files" "$work/first-many/files"
{
  printf '%s\r\n' "SetAppName(\"$app_name\");" 'SetWelcomeString("Many files.","Welcome");' \
    'CreateSection("Main","1","0","Files");'
  for folder in "${many_folders[@]}"; do
    for file in "$work/many/files/$folder"/*; do
      name=${file##*/}
      printf '%s\r\n' "AddFile(\"[SP]\\files\\$folder\\${name%.*}.*\",\"[DP]\\$folder\\\",\"Main\",\"0\",\"1\",\"0\",\"0\",\"0\",\"0\",\"\");"
    done
  done
  printf '%s\r\n' 'ShowWelcome();'
} >"$work/first-many/SetupScript.ini"
first_page_load=$(cut -d' ' -f1-3 /proc/loadavg)
windows_run first_page_bench "$work/run.out" wine "$win64/first_page_bench.exe" "$runs" \
  program 'M:\first-program' 'M:\first-program\empty_program.exe' 'Empty program' \
  empty 'M:\first-empty' 'M:\first-empty\Setup.exe' - \
  demo 'M:\first-demo' 'M:\first-demo\Setup.exe' Welcome \
  many 'M:\first-many' 'M:\first-many\Setup.exe' Welcome
first_page_load="$first_page_load, after: $(cut -d' ' -f1-3 /proc/loadavg)"
tr -d '\r' <"$work/run.out" >"$work/first-page.out"
fi  # the cases besides the sweep

# ---- many small files by folder size --------------------------------------------------------------

# Each round runs, for each size, Setup.exe on both media and the two loops over the same files,
# in an order that turns each round, and the runs with nothing to copy that the whole run per
# file is measured against. The load average is noted before each run.
sweep_cases=(wildcards each verinstall shortnames)
for round in $(seq 1 "$sweep_runs"); do
  [ -n "${sweep_sizes// /}" ] || break
  say "the sweep over folder sizes $sweep_sizes, round $round of $sweep_runs"
  check=""
  [ "$round" = 1 ] && check=check
  for size in $sweep_sizes; do
    for i in "${!sweep_cases[@]}"; do
      record "sweep-$size load $(cut -d' ' -f1 /proc/loadavg) 0 0"
      case ${sweep_cases[$(((i + round - 1) % ${#sweep_cases[@]}))]} in
        wildcards) run_setup "sweep-$size" "sweep-$size" "${check:--}" wildcards ;;
        each) run_setup "sweep-$size" "sweep-$size-each" "${check:--}" each "$work/sweep-$size/files" ;;
        verinstall) run_loop "sweep-$size" verinstall "sweep-$size" $check ;;
        shortnames) run_loop "sweep-$size" shortnames "sweep-$size" $check ;;
      esac
    done
  done
  run_setup sweep-empty empty
  run_loop sweep-empty verinstall empty
done

# ---- the table ----------------------------------------------------------------------------------

# middle: the median of the numbers on standard input, one a line.
middle() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# median GROUP CASE FIELD: the median over the rounds of a case's copy phase (1), whole run (2) or
# peak memory (3).
median() {
  awk -v g="$1" -v c="$2" -v f="$3" '{ name = $2; for (i = 3; i <= NF - 3; i++) name = name " " $i }
    $1 == g && name == c { print $(NF - 3 + f) }' "$results" | middle
}
# ratio GROUP CASE BASE [BASE_FIELD]: the median over the rounds of the case's copy phase over the
# BASE case's copy phase (or its whole run, BASE_FIELD 4) in the same round.
ratio() {
  awk -v g="$1" -v c="$2" -v b="$3" -v f="${4:-3}" '$1 == g && $2 == c { x[++n] = $3 } $1 == g && $2 == b { base[++m] = $f }
    END { for (i = 1; i <= n && i <= m; i++) if (base[i] > 0) print x[i] / base[i] }' "$results" | middle
}
# per_file GROUP [CASE BASE EMPTY_GROUP]: the median over the rounds of a Setup.exe case's whole run
# (default Setup.exe) minus Setup.exe's run with nothing to copy, over the same for a loop (default
# verinstall) minus the VerInstallFileA loop's run over an empty folder, the runs with nothing to
# copy being EMPTY_GROUP's (default empty): what each costs per file, start, listing, window and
# log included.
per_file() {
  awk -v g="$1" -v c="${2:-Setup.exe}" -v base="${3:-verinstall}" -v e="${4:-empty}" \
    '$1 == g && $2 == c { s[++a] = $(NF - 1) } $1 == g && $2 == base { l[++b] = $(NF - 1) }
    $1 == e && $2 == "Setup.exe" { se[++n] = $(NF - 1) } $1 == e && $2 == "verinstall" { le[++d] = $(NF - 1) }
    END { for (i = 1; i <= a && i <= b && i <= n && i <= d; i++) print l[i] != le[i] ? (s[i] - se[i]) / (l[i] - le[i]) : 0 }' "$results" | middle
}
# against VALUE [GOAL]: the figure with its goal (at most GOAL), met or missed; without a goal, the
# figure alone.
against() {
  awk -v v="$1" -v goal="${2:-}" 'BEGIN { if (goal == "") printf "%.2f", v
    else printf "%.2f (goal ≤ %.2f: %s)", v, goal, v + 0 <= goal + 0 ? "met" : "missed" }'
}
copy_table() {  # copy_table GROUP TITLE GOAL: GOAL, Setup.exe's most over the loop with the design's calls
  echo
  echo "$2"
  echo
  echo "| case | copy phase, s | × VerInstallFileA loop | × loop with the design's calls | whole run, s |"
  echo "|---|---:|---:|---:|---:|"
  local name label
  for name in setup verinstall shortnames copyfile nsis lzsteps bigsteps; do
    case $name in
      setup) label='Setup.exe, copy page only (log created → last written)'; name=Setup.exe ;;
      verinstall) label='VerInstallFileA loop, VIFF_FORCEINSTALL (the floor)' ;;
      shortnames) label="the same with the design's calls per file (destination looked at, source's short name, log's short name)" ;;
      copyfile) label='CopyFileA loop' ;;
      nsis) label='NSIS 3 installer, amd64-unicode, silent, SetCompress off (marks)' ;;
      lzsteps) label="the installer's steps by hand: LZOpenFile, temp name, LZCopy, MoveFile" ;;
      bigsteps) label='the same steps, bytes in 1 MiB blocks (same results)' ;;
    esac
    local goal=
    [ "$name" = Setup.exe ] && goal=$3
    printf '| %s | %.2f | %.2f | %s | %.2f |\n' "$label" "$(median "$1" "$name" 1)" "$(ratio "$1" "$name" verinstall)" \
      "$(against "$(ratio "$1" "$name" shortnames)" "$goal")" "$(median "$1" "$name" 2)"
  done
}

# The sweep: per folder size, Setup.exe on both media and the two loops, against the loop with
# the design's calls (goal: Setup.exe at most 1.15 times it, copy phase and whole run per file).
sweep_table() {
  local size files label name copy goal per_file_ratio loads
  echo
  echo "Many small files of 1 KiB by folder size, the copy page only (medians over $sweep_runs round(s), ratios per round; load average before each run, median and range):"
  echo
  echo "| files per folder (files, folders) | load | case | copy phase, s | ms per file | × VerInstallFileA loop | × loop with the design's calls | whole run per file × that loop |"
  echo "|---|---|---|---:|---:|---:|---:|---:|"
  for size in $sweep_sizes; do
    files=$(find "$work/sweep-$size/files" -type f | wc -l)
    loads=$(awk -v g="sweep-$size" '$1 == g && $2 == "load" { print $3 }' "$results" | sort -g)
    for name in wildcards each verinstall shortnames; do
      case $name in
        wildcards) label='Setup.exe, one AddFile wildcard per folder' ;;
        each) label='Setup.exe, one AddFile per file' ;;
        verinstall) label='VerInstallFileA loop (the floor)' ;;
        shortnames) label=$(printf "loop with the design's calls (destination looked at %.2f s, installer with the source's short name %.2f s, installed file's short name %.2f s)" \
                             "$(median "sweep-$size" shortnames:looked-at 1)" "$(median "sweep-$size" shortnames:installer 1)" \
                             "$(median "sweep-$size" shortnames:short-name 1)") ;;
      esac
      copy=$(median "sweep-$size" "$name" 1)
      goal= per_file_ratio=
      case $name in
        wildcards | each)
          goal=1.15
          per_file_ratio=$(against "$(per_file "sweep-$size" "$name" shortnames sweep-empty)" "$goal") ;;
      esac
      printf '| %s (%s, %s) | %s (%s to %s) | %s | %.2f | %.3f | %.2f | %s | %s |\n' "$size" "$files" "$(((files + size - 1) / size))" \
        "$(printf %.2f "$(median "sweep-$size" load 1)")" "$(head -1 <<<"$loads")" "$(tail -1 <<<"$loads")" \
        "$label" "$copy" "$(awk -v s="$copy" -v n="$files" 'BEGIN { print 1000 * s / n }')" \
        "$(ratio "sweep-$size" "$name" verinstall)" "$(against "$(ratio "sweep-$size" "$name" shortnames)" "$goal")" "$per_file_ratio"
    done
  done
}

# With the step clock: where Setup.exe's copy phase goes, step by step (medians over the rounds,
# seconds), beside the same calls in the loop with the design's calls.
step_table() {
  local size name label step seconds rest
  local steps='installer source-short-path installed-short-path destination-looked-at directories temporary-copies log-write'
  echo
  echo "Where the copy phase goes: Setup.exe built with the step clock (-DQUILLSET_STEP_CLOCK=ON), seconds, medians over $sweep_runs round(s):"
  echo
  echo "| files per folder | case | copy phase | installer | source's short path | installed file's short path | destination looked at | folders made | temporary copies | log written | rest of each file | progress shown | before the first file, after the last |"
  echo "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
  for size in $sweep_sizes; do
    for name in wildcards each; do
      [ "$name" = wildcards ] && label='Setup.exe, wildcards' || label='Setup.exe, one AddFile per file'
      printf '| %s | %s | %.2f' "$size" "$label" "$(median "sweep-$size" "$name" 1)"
      rest=$(median "sweep-$size" "$name:file" 1)
      for step in $steps; do
        seconds=$(median "sweep-$size" "$name:$step" 1)
        printf ' | %.3f' "$seconds"
        rest=$(minus "$rest" "$seconds")
      done
      printf ' | %.3f | %.3f | %.3f |\n' "$rest" "$(median "sweep-$size" "$name:progress" 1)" \
        "$(awk -v a="$(median "sweep-$size" "$name:before-files" 1)" -v b="$(median "sweep-$size" "$name:after-files" 1)" 'BEGIN { print a + b }')"
    done
    printf "| %s | loop with the design's calls | %.2f | %.3f | | %.3f | %.3f | | | | | | |\n" "$size" "$(median "sweep-$size" shortnames 1)" \
      "$(median "sweep-$size" shortnames:installer 1)" "$(median "sweep-$size" shortnames:short-name 1)" \
      "$(median "sweep-$size" shortnames:looked-at 1)"
    printf '| %s | VerInstallFileA loop | %.2f | %.2f | | | | | | | | | |\n' "$size" "$(median "sweep-$size" verinstall 1)" \
      "$(median "sweep-$size" verinstall 1)"
  done
}

mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
bytes_of() { find "$@" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }
# The compressed media: size against the payload, copy phase against the medium as it is.
product_table() {
  local payload label name size goal
  payload=$(bytes_of "$work/product-tree/files")
  echo
  echo "Compressed media: $medium_files files of $medium_file_kib KiB ($(mib $((payload / 1024))) MiB) in $medium_folders folders: half programs, a quarter text, a quarter random bytes (medians):"
  echo
  echo "| case | medium, MiB | × payload | copy phase, s | × medium as it is | whole run, s |"
  echo "|---|---:|---:|---:|---:|---:|"
  for name in plain compressed zlib lzma single; do
    case $name in
      plain) label='qsmedia, files as they are (Setup.exe, script, uninstaller, files)'; size=$(bytes_of "$work/product") ;;
      compressed) label=$(printf 'qsmedia --compress (%.1f s to lay out; as it is: %.1f s)' \
                            "$(median layout product-compressed 2)" "$(median layout product 2)")
                  size=$(bytes_of "$work/product-compressed") ;;
      zlib) label='NSIS 3 installer, amd64-unicode, silent, SetCompressor zlib'; size=$(stat -c %s "$work/product-zlib.exe") ;;
      lzma) label='NSIS 3 installer, the same with SetCompressor /SOLID lzma'; size=$(stat -c %s "$work/product-lzma.exe") ;;
      single) label=$(printf 'qsmedia --single-file (%.1f s to pack); copy phase: its start to the end of the copy page, two pages answered by the robot (%.2f× the folder medium'"'"'s whole run, goal at most 1.3×; the check and unpacking until Setup.exe starts: %.2f s; the same natively, without Wine, the floor: %.2f s, %.2f× the folder medium'"'"'s whole run); starter peak %s MiB (goal under 32)' \
                        "$(median layout product-single 2)" \
                        "$(ratio product single plain 4)" \
                        "$(median product single-unpacked 1)" "$(median product single-native 1)" \
                        "$(ratio product single-native plain 4)" "$(mib "$(median product single 3)")")
              size=$(stat -c %s "$work/product-single.exe") ;;
    esac
    # The compressed medium's goal: its copy phase at most 1.2 times the medium's as it is.
    goal=
    [ "$name" = compressed ] && goal=1.20
    printf '| %s | %s | %.2f | %.2f | %s | %.2f |\n' "$label" "$(mib $((size / 1024)))" \
      "$(awk -v a="$size" -v b="$payload" 'BEGIN { print a / b }')" "$(median product "$name" 1)" \
      "$(against "$(ratio product "$name" plain)" "$goal")" "$(median product "$name" 2)"
  done
}
# first_page FIELD CASE: the median over the rounds of first_page_bench's FIELD (3 first window, 4
# main window, 5 page, 6 end) for CASE; with BASE, of FIELD minus the splash's pause (1.25 s) and
# minus the empty program's first window in the same round.
first_page() {
  awk -v f="$1" -v c="$2" -v base="${3:-}" '
    /^round / { sub(":", "", $3); split($0, parts, ", "); for (i = 1; i <= 4; i++) { n = split(parts[i], w, " "); v[$2, $3, i] = w[n - 1] } rounds[$2] = 1 }
    END { for (r in rounds) { x = v[r, c, f - 2]; if (x == "" || x == "-") continue
            if (base == "") print x; else if (v[r, "program", 1] != "-") print x - 1250 - v[r, "program", 1] } }' \
    "$work/first-page.out" | middle
}
first_page_table() {
  echo
  echo "Time to the first page, ms from the program's start (medians over $runs round(s); load average before: $first_page_load):"
  echo
  echo "| case | first window | main window | first page (end) | beyond the 1.25 s pause and the empty program's window | goal |"
  echo "|---|---:|---:|---:|---:|---|"
  printf '| an empty program, one dialog | %.0f | | | | |\n' "$(first_page 3 program)"
  printf '| Setup.exe, empty script (to its end) | %.0f | %.0f | (%.0f) | %.0f (main window) | |\n' "$(first_page 3 empty)" \
    "$(first_page 4 empty)" "$(first_page 6 empty)" "$(first_page 4 empty base)"
  printf '| Setup.exe, the demo (welcome page) | %.0f | %.0f | %.0f | %.0f | < 300 |\n' "$(first_page 3 demo)" \
    "$(first_page 4 demo)" "$(first_page 5 demo)" "$(first_page 5 demo base)"
  printf '| Setup.exe, %s AddFile wildcards over %s folders (welcome page) | %.0f | %.0f | %.0f | %.0f | < 1000 |\n' \
    "$many_files" "${#many_folders[@]}" "$(first_page 3 many)" "$(first_page 4 many)" "$(first_page 5 many)" \
    "$(first_page 5 many base)"
}
if [ $sweep_only = 0 ]; then
script_bytes=$(stat -c %s "$work/large-script.ini")
statements_seconds=$(median statements "qscheck statements" 2)
sections_open=$(tr -d '\r' <"$work/sections.out" | sed -n 's/.*open after \([0-9.]*\) ms.*/\1/p')
sections_sized=$(tr -d '\r' <"$work/sections.out" | sed -n 's/.*sizes shown after \([0-9.]*\) ms.*/\1/p')
sections_floor=$(tr -d '\r' <"$work/sections.out" | sed -n 's/.*alone: \([0-9.]*\) ms.*/\1/p')
many_peak=$(median many Setup.exe 3) one_peak=$(median one Setup.exe 3)
fi
{
  echo "Quillset benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $([ $smoke = 1 ] && echo 'SMOKE SIZES (figures mean nothing), ')$([ $sweep_only = 1 ] && echo "the sweep alone, $sweep_runs" || echo "$runs") round(s)"
  echo "Machine: $(nproc) cores ($(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)), $(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo), $(wine --version 2>/dev/null | head -1), $(makensis -VERSION 2>/dev/null | head -1 | sed 's/^/NSIS /')"
  if [ $sweep_only = 0 ]; then
  copy_table medium "Copy phase, $medium_files files of $medium_file_kib KiB ($(mib $((medium_files * medium_file_kib))) MiB) in $medium_folders folders (medians):" 1.10
  echo
  printf 'Whole run per file (minus a run with nothing to copy), Setup.exe over the VerInstallFileA loop: %.2f×; over the loop with the design'"'"'s calls: %s\n' \
    "$(per_file medium)" "$(against "$(per_file medium Setup.exe shortnames)" 1.15)"
  copy_table large "One file of $large_mib MiB (medians):" 1.00
  product_table
  fi
  if [ -n "${sweep_sizes// /}" ]; then sweep_table; fi
  if [ $step_clock = 1 ]; then step_table; fi
  if [ $sweep_only = 0 ]; then
  echo
  printf 'Setup.exe start to end with an empty copy page (splash included, in no figure above): %.2f s\n' \
    "$(median empty Setup.exe 2)"
  echo
  echo "Script size (medians):"
  echo
  echo "| measure | result | target |"
  echo "|---|---:|---|"
  printf '| qscheck statements, %.1f MB script | %.0f MB/s (%.2f s), peak %s MiB | > 200 MB/s |\n' \
    "$(awk -v b="$script_bytes" 'BEGIN { print b / 1e6 }')" "$(awk -v b="$script_bytes" -v s="$statements_seconds" 'BEGIN { print b / 1e6 / s }')" \
    "$statements_seconds" "$(mib "$(median statements "qscheck statements" 3)")"
  printf '| qscheck plan, %s AddFile statements naming one file each, one folder | %.2f s, peak %s MiB | < 20 MB |\n' \
    "$many_files" "$(median plan "exact names" 2)" "$(mib "$(median plan "exact names" 3)")"
  printf '| qscheck plan, one *.* over the same %s files | %.2f s, peak %s MiB | |\n' \
    "$many_files" "$(median plan "one *.*" 2)" "$(mib "$(median plan "one *.*" 3)")"
  printf '| qscheck lint, one text of %s references to an unset variable | %.2f s, peak %s MiB | < 0.5 s |\n' \
    "$references" "$(median lint "many references" 2)" "$(mib "$(median lint "many references" 3)")"
  printf '| sections page with %s files: open (sizes shown; each source opened once in a bare loop) | %s ms (%s ms; %s ms) | < 1 s |\n' \
    "$many_files" "$sections_open" "$sections_sized" "$sections_floor"
  printf '| Setup.exe peak resident memory, %s files named one by one, in folders of %s (1-file script; difference) | %s MiB (%s MiB; %s MiB) | < 20 MB |\n' \
    "$many_files" "$many_per_folder" "$(mib "$many_peak")" "$(mib "$one_peak")" "$(mib "$(minus "$many_peak" "$one_peak")")"
  printf '| Setup.exe copy phase, the same %s files (VerInstallFileA loop, once) | %.1f s (%.1f s) | |\n' \
    "$many_files" "$(median many Setup.exe 1)" "$(median many verinstall 1)"
  first_page_table
  echo
  echo "Size of the shipped programs (release builds, bytes):"
  echo
  echo "| program | i686 | x86_64 | target (i686) |"
  echo "|---|---:|---:|---|"
  for program in Setup.exe:262144 QSUninstall.exe:163840 QSStarter.exe:49152; do
    printf '| %s | %s | %s | at most %s |\n' "${program%%:*}" "$(stat -c %s "$release32/${program%%:*}")" \
      "$(stat -c %s "$release/${program%%:*}")" "${program#*:}"
  done
  fi
} >"$work/table.md"
mkdir -p "$(dirname "$out")"
cp "$work/table.md" "$out"
cat "$work/table.md"
if grep -qi nan "$work/table.md"; then fail "a case gave no figure"; fi
