#!/usr/bin/env bash
# The shipped programs, read from their files as Windows' loader reads them. The i686 build cannot
# run on these machines, so what can go wrong in it without running is checked here: each program
# is a GUI program for Windows 4.0 or later (the i686 one) that carries its manifest, and the i686
# one imports no DLL the tested x86_64 one does not import. Both import only the libraries Windows
# always takes from its own folder: any other one is found by the search order, which looks in the
# program's folder first (a DLL planted there would run), so the programs load it by its full path
# (win32/system_library.h). comctl32 would be allowed only as a dependency of the manifest, which
# these manifests do not declare.
# Usage: check_shipped_programs.sh RELEASE_I686_DIR RELEASE_X86_64_DIR
set -u
i686=$1 x64=$2
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

headers() { "$1-w64-mingw32-objdump" -p "$2"; }
field() { awk -v name="$1" '$1 == name { print $2; exit }'; }
imports() { sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | sort -u; }
allowed="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll"

for program in Setup.exe QSUninstall.exe QSStarter.exe; do
  for build in "i686 $i686" "x86_64 $x64"; do
    read -r arch dir <<<"$build"
    file="$dir/$program"
    [ -f "$file" ] || { fail "$file: missing"; continue; }
    dump=$(headers "$arch" "$file")
    [ "$(field Subsystem <<<"$dump")" = 00000002 ] || fail "$file: not a Windows GUI program"
    # Type 24: the manifest (common controls 6, administrator rights).
    grep -q 'Entry: ID: 0x000018,' <<<"$dump" || fail "$file: no manifest resource"
    for dll in $(imports <<<"$dump"); do
      grep -qw -- "$dll" <<<"$allowed" || fail "$file imports $dll, which Windows may take from the program's folder"
    done
    if [ "$arch" = i686 ]; then
      [ "$(field Magic <<<"$dump")" = 010b ] || fail "$file: not a 32-bit program"
      for version in MajorSubsystemVersion MajorOSystemVersion; do
        [ "$(field "$version" <<<"$dump")" = 4 ] || fail "$file: $version is $(field "$version" <<<"$dump"), not 4"
      done
    fi
  done
  extra=$(comm -23 <(headers i686 "$i686/$program" | imports) <(headers x86_64 "$x64/$program" | imports))
  [ -z "$extra" ] || fail "$program (i686) imports what the tested build does not: $extra"
done
# The single-file starter goes in front of every single-file installer: its size is part of each.
starter_size=$(stat -c %s "$i686/QSStarter.exe" 2>/dev/null || echo 0)
[ "$starter_size" -le 49152 ] || fail "$i686/QSStarter.exe: $starter_size bytes, more than 48 KB"
[ "$failures" -eq 0 ] || exit 1
echo "shipped programs: GUI programs with their manifests, importing system-folder libraries only; the i686 ones for Windows 4.0 with the tested imports"
