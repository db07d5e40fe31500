#!/usr/bin/env bash
# qsmedia as a script author runs it: its command line, and a medium whose file names are not all
# ASCII, laid out and checked by the native qscheck.
# Usage: qsmedia_tool_test.sh QSMEDIA QSCHECK VERSION (the project's, from CMake)
qsmedia=$(realpath "$1") qscheck=$(realpath "$2") version=$3
. "$(dirname "$0")/qscheck_test_lib.sh"

# What was asked for goes to standard output with exit status 0; a wrong command line gets the
# usage on standard error and 64.
while IFS='|' read -r status stream pattern arguments; do
  # shellcheck disable=SC2086  # the arguments split as a shell splits them
  expect_run "qsmedia $arguments" "$status" "$stream" "$pattern" "$qsmedia" $arguments
done <<EOF
0|stdout|usage: qsmedia *|--help
0|stdout|usage: qsmedia *|-h
0|stdout|qsmedia $version|--version
64|stderr|usage: qsmedia *|
64|stderr|usage: qsmedia *|medium.txt
64|stderr|usage: qsmedia *|--version now
64|stderr|usage: qsmedia *|medium.txt out --colour red
64|stderr|usage: qsmedia *|medium.txt out --compress --tree
64|stderr|usage: qsmedia *|medium.txt --single-file
64|stderr|usage: qsmedia *|medium.txt --single-file setup.exe --compress
EOF

# Setup.exe and the uninstaller are only copied here: any bytes do. The check compares every name
# the dry run declares with what was laid out, Café.txt too.
mkdir -p "$work/programs" "$work/tree/files"
echo setup >"$work/programs/Setup.exe"; echo uninstaller >"$work/programs/QSUninstall.exe"
echo a >"$work/tree/files/a.txt"; echo c >"$work/tree/files/Café.txt"
printf 'app = Demo\nsection "Main" required = files/\n' >"$work/tree/medium.txt"
expect_run "medium with Café.txt" 0 stdout "qsmedia: $work/medium: 3 files on 1 disk(s)*" \
  "$qsmedia" "$work/tree/medium.txt" "$work/medium" --programs "$work/programs" --qscheck "$qscheck"
[ -f "$work/medium/files/Café.txt" ] || fail "medium: no files/Café.txt"
# An output folder named relative to the current one, through "..", as from an unpacked package.
mkdir -p "$work/unpacked/bin"
cd "$work/unpacked/bin" || exit 1
expect_run "medium ../../relative/" 0 stdout "qsmedia: $work/relative: 3 files on 1 disk(s)*" \
  "$qsmedia" ../../tree/medium.txt ../../relative/ --programs ../../programs --qscheck "$qscheck"
cd - >/dev/null || exit 1

# --single-file: the starter's bytes, then the packed medium; the same tree gives the same bytes.
# A description with disk-size is refused at its line, and a missing starter named.
# (tests/unit/single_file_test.cpp reads such files back; the e2e scenarios single_file* run them.)
echo starter >"$work/programs/QSStarter.exe"
for run in one two; do
  expect_run "--single-file ($run)" 0 stdout "qsmedia: $work/$run.exe: 5 files packed from * bytes into *, one program of * bytes; checked by qscheck plan and lint" \
    "$qsmedia" "$work/tree/medium.txt" --single-file "$work/$run.exe" --programs "$work/programs" --qscheck "$qscheck"
done
cmp -s "$work/one.exe" "$work/two.exe" || fail "--single-file: two runs over the same tree differ"
[ "$(head -c 16 "$work/one.exe")" = "$(printf 'starter\nQSSINGLE')" ] || fail "--single-file: the starter does not come first"
ls "$work"/*.partial >/dev/null 2>&1 && fail "--single-file: a .partial file is left"
printf 'app = Demo\ndisk-size = 1440K\nsection "Main" required = files/\n' >"$work/tree/disks.txt"
expect_run "--single-file with disk-size" 1 stderr "$work/tree/disks.txt:2: error: disk-size lays out disks, which do not go into one file (--single-file)" \
  "$qsmedia" "$work/tree/disks.txt" --single-file "$work/disks.exe" --programs "$work/programs" --qscheck "$qscheck"
rm "$work/programs/QSStarter.exe"
expect_run "--single-file without a starter" 1 stderr "qsmedia: error: no QSStarter.exe in $work/programs (--programs names the folder)" \
  "$qsmedia" "$work/tree/medium.txt" --single-file "$work/three.exe" --programs "$work/programs" --qscheck "$qscheck"
[ ! -e "$work/disks.exe" ] && [ ! -e "$work/three.exe" ] || fail "--single-file: a refused run wrote its file"

# --compress: what gets smaller is stored compressed under its conventional name and installed
# under its own; a shared file, one that does not get smaller, an empty one and one whose compressed
# name another file has stay as they are. msexpand (Debian's mscompress) gives the bytes back.
# Without --compress the same tree is laid out as it is.
mkdir -p "$work/ctree/app" "$work/ctree/lib"
for i in $(seq 1 300); do echo "line $i of the read-me: text compresses"; done >"$work/ctree/app/readme.txt"
for name in README notes.txt notes.tx_; do cp "$work/ctree/app/readme.txt" "$work/ctree/app/$name"; done
cp "$work/ctree/app/readme.txt" "$work/ctree/lib/shared.dll"
head -c 5000 /dev/urandom >"$work/ctree/app/photo.jpg"
: >"$work/ctree/app/empty.dat"
printf 'app = Demo\nsection "Main" required = app/\nshared = lib/shared.dll\n' >"$work/ctree/medium.txt"
"$qsmedia" "$work/ctree/medium.txt" "$work/cmedium" --programs "$work/programs" --qscheck "$qscheck" --compress \
  >"$work/compress.out" 2>"$work/compress.err" || fail "--compress: exit $? ($(cat "$work/compress.err"))"
grep -q "app/notes.txt: warning: stored uncompressed: another file of the medium is named app.notes.tx_" \
  "$work/compress.err" || fail "--compress: no warning for notes.txt: $(cat "$work/compress.err")"
grep -q "8 files on 1 disk(s), 0 of them split; 3 compressed, " "$work/compress.out" ||
  fail "--compress: $(cat "$work/compress.out")"
for stored in app/readme.tx_:app/readme.txt app/README._:app/README app/notes.tx_:app/notes.tx_; do
  [ "$(head -c 4 "$work/cmedium/${stored%%:*}")" = SZDD ] || fail "--compress: ${stored%%:*} is not compressed"
  if command -v msexpand >/dev/null; then
    msexpand <"$work/cmedium/${stored%%:*}" 2>/dev/null | cmp -s - "$work/ctree/${stored#*:}" ||
      fail "--compress: msexpand does not give ${stored#*:} back from ${stored%%:*}"
  fi
done
for plain in app/notes.txt app/photo.jpg app/empty.dat lib/shared.dll QSUninstall.exe; do
  [ -f "$work/cmedium/$plain" ] && [ "$(head -c 4 "$work/cmedium/$plain")" != SZDD ] || fail "--compress: $plain not as it is"
done
for line in 'AddFile("[SP]\app\readme.tx_","[DP]\readme.txt",' 'AddFile("[SP]\app\README._","[DP]\README",' \
            'AddFile("[SP]\app\notes.txt","[DP]\",' 'AddFile("[SP]\lib\shared.dll","[DP]\","Main","1",'; do
  grep -qF "$line" "$work/cmedium/SetupScript.ini" || fail "--compress: no $line in the script"
done
expect_run "without --compress" 0 stdout "qsmedia: $work/pmedium: 8 files on 1 disk(s), 0 of them split; checked*" \
  "$qsmedia" "$work/ctree/medium.txt" "$work/pmedium" --programs "$work/programs" --qscheck "$qscheck"
diff -r "$work/ctree/app" "$work/pmedium/app" >/dev/null || fail "without --compress: the files are not as they are"

# A tree five folders deep whose upper folders hold only folders lays out, and the dry run installs
# each file into its own folder. A shared 64-bit DLL and a caption wider than a 1024-pixel screen
# are warned about: the DLL by qsmedia at its description line and by lint, the caption by lint.
mkdir -p "$work/dtree/app/lib/deps/winpty/bin" "$work/dtree/app/lib/deps/node/mod"
deep_files="lib/deps/winpty/bin/x.dll lib/deps/winpty/bin/y.exe lib/deps/node/mod/index.js readme.txt"
for file in $deep_files; do echo "$file" >"$work/dtree/app/$file"; done
{ printf 'MZ'; head -c 58 /dev/zero; printf '\x40\0\0\0PE\0\0\x64\x86'; } >"$work/dtree/app/x64.dll"
printf 'app = Vendor Console Tools 2024\nsection "Main" required = app/\nshared = app/x64.dll\n' >"$work/dtree/medium.txt"
"$qsmedia" "$work/dtree/medium.txt" "$work/dmedium" --programs "$work/programs" --qscheck "$qscheck" \
  >"$work/deep.out" 2>"$work/deep.err" || fail "deep tree: exit $? ($(cat "$work/deep.err"))"
grep -q "^$work/dtree/medium.txt:3: warning: shared file app/x64.dll is a 64-bit program (x86_64): " "$work/deep.err" ||
  fail "deep tree: no warning about the 64-bit shared DLL: $(cat "$work/deep.err")"
grep -q "SetupScript.ini:[0-9]*:[0-9]*: warning: the shared file 'x64.dll' is a 64-bit program (x86_64): .*\[shared-64-bit\]" \
  "$work/deep.out" || fail "deep tree: lint does not warn about the 64-bit shared DLL: $(cat "$work/deep.out")"
grep -q "warning: the caption 'Vendor Console Tools 2024 Setup' reaches about .*\[caption-too-wide\]" "$work/deep.out" ||
  fail "deep tree: lint does not warn about the caption: $(cat "$work/deep.out")"
# Beside a 64-bit Setup.exe (the win64 package's) a 64-bit shared DLL is right: no word about it.
mkdir -p "$work/programs64"
cp "$work/dtree/app/x64.dll" "$work/programs64/Setup.exe"; cp "$work/programs/QSUninstall.exe" "$work/programs64/"
"$qsmedia" "$work/dtree/medium.txt" "$work/dmedium64" --programs "$work/programs64" --qscheck "$qscheck" \
  >"$work/deep64.out" 2>&1 || fail "deep tree, 64-bit Setup.exe: exit $?"
if grep -q "64-bit program" "$work/deep64.out"; then fail "deep tree, 64-bit Setup.exe: $(cat "$work/deep64.out")"; fi
"$qscheck" plan "$work/dmedium/SetupScript.ini" --sp "$work/dmedium" >"$work/deep.plan" || fail "deep tree: plan exit $?"
for file in $deep_files; do
  windows=${file//\//\\\\}
  grep -qF "\\\\app\\\\$windows\",\"destinationPath\":\"[DP]\\\\$windows\"" "$work/deep.plan" ||
    fail "deep tree: $file is not installed into [DP]\\${file//\//\\}"
done

finish "qsmedia"
