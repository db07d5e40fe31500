#!/usr/bin/env bash
# One package of make dist, as a user gets it: its listing holds exactly the expected files below
# quillset-VERSION-PLATFORM/, its Windows programs are built for the platform's processor, and,
# unpacked into an empty folder, what it holds lays out the demo medium from its description and
# tree (qsmedia with no options but the tree: it finds Setup.exe, QSUninstall.exe and qscheck
# beside itself) and lints the medium's script without a warning. The medium must hold the
# packaged programs byte for byte.
#   linux-x86_64  the native bin/qsmedia and bin/qscheck; and its qsrun installs and removes the
#                 demo medium again, with the win64 package's programs on a copy of the medium
#                 (these machines' Wine starts no 32-bit program), on the Wine prefix QSRUN_PREFIX;
#   win64         bin/qsmedia.exe and bin/qscheck.exe under Wine;
#   win32         these machines run no 32-bit code, so the Linux package's qsmedia and qscheck
#                 lay out the medium from the win32 package's programs (--programs) and demo
#                 tree; its qsmedia.exe and qscheck.exe are checked by the listing and their
#                 processor only.
# Usage: check_package.sh DIST_DIR VERSION PLATFORM SOURCE_DIR [QSRUN_PREFIX]
set -u
dist=$1 version=$2 platform=$3 source=$4 qsrun_prefix=${5:-}
wine_run=$(realpath "$(dirname "$0")/../wine/wine-run")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $platform: $*"; failures=$((failures + 1)); }

archive_name() { case $1 in linux-*) echo "quillset-$version-$1.tar.gz" ;; *) echo "quillset-$version-$1.zip" ;; esac; }
# The files of an archive, one path a line, without the folders.
listing() {
  case $1 in
    *.zip) unzip -Z1 "$1" ;;
    *) tar tzf "$1" ;;
  esac | grep -v '/$' | sort
}
# unpack PLATFORM — unpacks that package into a new folder of its own and prints the path of
# its top folder.
unpack() {
  local archive="$dist/$(archive_name "$1")" into="$work/unpacked-$1"
  mkdir "$into" || return 1
  case $archive in
    *.zip) unzip -q "$archive" -d "$into" ;;
    *) tar xzf "$archive" -C "$into" ;;
  esac || return 1
  echo "$into/quillset-$version-$1"
}

# What each package holds below its top folder: `all` packages, the `windows` zips or `linux`.
expected_files() {
  local kind=windows
  [[ $platform == linux-* ]] && kind=linux
  while read -r packages path; do
    [ "$packages" = all ] || [ "$packages" = "$kind" ] && echo "$path"
  done <<'EOF'
all      bin/Setup.exe
all      bin/QSUninstall.exe
all      bin/QSStarter.exe
windows  bin/qscheck.exe
windows  bin/qsmedia.exe
linux    bin/qscheck
linux    bin/qsmedia
linux    bin/qsrun
linux    bin/qsrun-wine-session.sh
linux    bin/qsrun-driver.exe
linux    bin/qsrun-pages.dll
all      README.md
all      demo/medium.txt
all      demo/tree/program/QuillDemo.exe
all      demo/tree/shared/quilldemo.dll
EOF
  # The folders copied whole from the sources.
  (cd "$source" && ls docs/*.md docs/images/*) | grep -v '/$'
  (cd "$source/examples/demo" && ls files/* samples/*) | sed 's|^|demo/tree/|'
}

archive="$dist/$(archive_name "$platform")"
[ -f "$archive" ] || { echo "FAIL $platform: no package $archive (make dist writes it)"; exit 1; }
top=quillset-$version-$platform
listing "$archive" >"$work/listing"
expected_files | sed "s|^|$top/|" | sort >"$work/expected"
missing=$(comm -13 "$work/listing" "$work/expected")
unexpected=$(comm -23 "$work/listing" "$work/expected")
[ -z "$missing" ] || fail "missing from $(basename "$archive"):"$'\n'"$missing"
[ -z "$unexpected" ] || fail "not expected in $(basename "$archive"):"$'\n'"$unexpected"

package=$(unpack "$platform") || { fail "$archive cannot be unpacked"; exit 1; }
cd "$package" || exit 1

# The Windows programs' processor, from the PE header: 014c i386 (the win32 zip, and the Linux
# package's programs for media), 8664 x86-64 (the win64 zip, and qsrun's driver, which runs under
# Wine on the Linux machine).
pe_machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}
machine=014c
[ "$platform" = win64 ] && machine=8664
while read -r program; do
  expected=$machine
  [ "$program" = ./bin/qsrun-driver.exe ] || [ "$program" = ./bin/qsrun-pages.dll ] && expected=8664
  [ "$(pe_machine "$program")" = "$expected" ] || fail "$program is not a $expected program"
done < <(find . -name '*.exe' -o -name '*.dll')
if [[ $platform == linux-* ]]; then
  for tool in bin/qscheck bin/qsmedia; do
    readelf -d "$tool" 2>/dev/null | grep -q 'NEEDED.*libasan' && fail "$tool is the sanitizer build"
  done
fi

# The medium, laid out beside the unpacked package as a user would.
medium=$work/medium
options=()
case $platform in
  linux-*) lay_out=(bin/qsmedia) lint=(bin/qscheck) ;;
  win64) lay_out=("$wine_run" bin/qsmedia.exe) lint=("$wine_run" bin/qscheck.exe) ;;
  win32)
    linux=$(unpack "linux-x86_64") || { fail "the Linux package, whose tools lay out the win32 medium, is missing"; exit 1; }
    lay_out=("$linux/bin/qsmedia") lint=("$linux/bin/qscheck") options=(--programs bin)
    cmp -s bin/Setup.exe "$linux/bin/Setup.exe" || fail "the Linux package's Setup.exe is not the win32 one"
    ;;
esac
"${lay_out[@]}" demo/medium.txt ../../medium --tree demo/tree "${options[@]}" >"$work/qsmedia.log" 2>&1
status=$?
[ $status = 0 ] || fail "qsmedia exit status $status: $(cat "$work/qsmedia.log")"
for file in Setup.exe QSUninstall.exe; do
  on_medium=$(find "$medium" -name "$file" | head -1)
  [ -n "$on_medium" ] && cmp -s "$on_medium" "bin/$file" || fail "the medium does not hold the packaged $file"
done
cmp -s "$(find "$medium" -name QuillDemo.exe | head -1)" demo/tree/program/QuillDemo.exe ||
  fail "the medium does not hold the packaged QuillDemo.exe"
# The same as one download, with the packaged starter in front.
"${lay_out[@]}" demo/medium.txt --single-file ../../Demo-Setup.exe --tree demo/tree "${options[@]}" >"$work/single.log" 2>&1
status=$?
[ $status = 0 ] || fail "qsmedia --single-file exit status $status: $(cat "$work/single.log")"
cmp -s -n "$(stat -c %s bin/QSStarter.exe)" "$work/Demo-Setup.exe" bin/QSStarter.exe ||
  fail "the single file does not start with the packaged QSStarter.exe"
"${lint[@]}" lint ../../medium/SetupScript.ini --sp ../../medium >"$work/lint.log" 2>&1
status=$?
[ $status = 0 ] && [ ! -s "$work/lint.log" ] || fail "qscheck lint exit status $status: $(cat "$work/lint.log")"

# qsrun from the package, as its documentation says for a 64-bit Wine: the medium as laid out,
# run with the win64 package's programs in place of its own (--programs64).
if [[ $platform == linux-* ]] && [ -n "$qsrun_prefix" ]; then
  win64=$(unpack win64) || { fail "the win64 package, whose programs qsrun runs here, is missing"; exit 1; }
  bin/qsrun "$medium" --programs64 "$win64/bin" --prefix "$qsrun_prefix" --report "$work/qsrun-report" --uninstall \
    >"$work/qsrun.log" 2>&1
  status=$?
  [ $status = 0 ] && [ "$(jq -r .result "$work/qsrun-report/report.json" 2>&1)" = ok ] ||
    fail "qsrun exit status $status: $(cat "$work/qsrun.log")"
  [ "$(jq -r '.replaced_programs.files | join(" ")' "$work/qsrun-report/report.json" 2>&1)" = "QSUninstall.exe Setup.exe" ] ||
    fail "the report does not name the replaced programs: $(jq -c .replaced_programs "$work/qsrun-report/report.json" 2>&1)"
  [ $status = 0 ] && echo "the package's qsrun: $(head -1 "$work/qsrun.log")"
fi

[ $failures = 0 ] && echo "$(basename "$archive"): the expected $(wc -l <"$work/expected") files; the demo medium laid out and linted"
exit $((failures > 0))
