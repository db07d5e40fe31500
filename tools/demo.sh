#!/usr/bin/env bash
# The demo: makes a tree of files (the demo program and shared library built by this project, a
# readme, generated sample data), lays it out as an installation medium with qsmedia from
# examples/demo/medium.txt, runs Setup.exe under Wine, lets the robot walk through the wizard,
# keeps a screenshot of every step under build/demo/, and shows what the setup installed. Then it
# packs the same medium as one download (qsmedia --single-file), installs from that file and
# shows that the folder it unpacked into is gone.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=$top/build/win64          # the robot and the demo program
release=$top/build/release-win64  # Setup.exe and QSUninstall.exe, as they ship
demo=$top/build/demo
tree=$demo/tree
medium=$demo/medium
# walk FOLDER SCENARIO — the robot runs SCENARIO under Wine in FOLDER, the program's current folder.
walk() { (cd "$1" && "$top/tests/wine/with-wine" "$top/tests/wine/wine-run" "$build/robot.exe" "$2"); }

rm -rf "$demo"
mkdir -p "$tree/program" "$tree/shared" "$tree/files" "$tree/samples"
cp examples/demo/files/* "$tree/files/"
cp "$build/demo-payload/QuillDemo.exe" "$tree/program/"
cp "$build/demo-payload/quilldemo.dll" "$tree/shared/"
# Enough sample data that the copy page can be seen at work (made here, not kept in the sources).
for n in $(seq -w 1 40); do head -c 4000000 /dev/urandom >"$tree/samples/sample$n.dat"; done

echo "== qsmedia lays out the medium from examples/demo/medium.txt:"
build/native/qsmedia examples/demo/medium.txt "$medium" --tree "$tree" --programs "$release"
echo

# What an earlier demo installed goes first, so that this one starts on a clean system.
prefix=${QS_WINEPREFIX:-$top/build/wineprefix}
# The robot types this destination and this program group on the pages.
app_dir="$prefix/drive_c/Quillset Demo"
group='Quillset/Demo'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillset Demo'
rm -rf "$app_dir" "$prefix/drive_c/windows/system32/quilldemo.dll"
find "$prefix/drive_c/users" -type d \( -path '*Start Menu/Programs/Quillset Demo' -o -path "*Start Menu/Programs/$group" \) \
  -exec rm -rf {} + 2>/dev/null || true
tests/wine/with-wine wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true

echo "== The medium ($medium):"
(cd "$medium" && find . -type f | sort | sed 's|^\./|   |')
echo
echo "== The script qsmedia wrote ($medium/SetupScript.ini):"
sed 's/\r$//;s/^/   /' "$medium/SetupScript.ini"
echo
echo "== What the script declares (qscheck plan, a dry run):"
build/native/qscheck plan "$medium/SetupScript.ini" | sed -n '/"sections"/,/"controls"/p' | sed '$d'
echo
echo "== Setup.exe under Wine, driven by the robot:"
set +e
walk "$medium" "$top/examples/demo/demo.scenario"
status=$?
set -e
echo
if [ $status -eq 0 ]; then
  echo "== Setup.exe ended with exit code 0."
else
  echo "== The walk through the wizard failed (robot exit status $status)."
fi
echo
echo "== Installed in C:\Quillset Demo (the readme's section chosen on the sections page):"
# The samples from the third on are left out of these lists.
abridge='tolower($0) ~ /sample(0[3-9]|[1-4][0-9])\.dat/ { skip = 1; next } skip && /SHARED/ { skip = 0; next } { skip = 0; print "   " $0 }'
(cd "$app_dir" 2>/dev/null && find . -type f | sort | sed 's|^\./||' | awk "$abridge")
echo "== Shared library in the system directory:"
ls "$prefix/drive_c/windows/system32/quilldemo.dll" 2>/dev/null | sed "s|$prefix/drive_c/|   C:/|"
echo "== Uninstall.log (samples abridged):"
sed 's/\r$//' "$app_dir/Uninstall.log" 2>/dev/null | iconv -f CP1252 -t UTF-8 | awk "$abridge"
echo "== The Uninstall key:"
tests/wine/with-wine wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r' | sed '/^$/d;s|^|   |'
echo "== Shortcuts in the program group, with their targets and descriptions:"
find "$prefix/drive_c/users" -path "*Start Menu/Programs/$group/*.lnk" 2>/dev/null | while read -r link; do
  echo "   Programs/${link##*/Programs/}"
  tests/wine/with-wine tests/wine/wine-run "$build/e2e-payload/probe.exe" shortcut \
    "C:${link#"$prefix/drive_c"}" 2>/dev/null | tr -d '\r' | sed 's|^|      |'
done
echo
echo "== QSUninstall.exe, started from the Uninstall key, driven by the robot:"
uninstall_status=0
walk "$medium" "$top/examples/demo/demo-uninstall.scenario" || uninstall_status=$?
[ $status -ne 0 ] || status=$uninstall_status
remains() {
  (cd "$prefix/drive_c" && find "Quillset Demo" -print 2>/dev/null | sed 's|^|   C:/|') || true
  ls "$prefix/drive_c/windows/system32/quilldemo.dll" 2>/dev/null | sed "s|$prefix/drive_c/|   C:/|" || true
  find "$prefix/drive_c/users" -path "*Start Menu/Programs/$group*" 2>/dev/null | sed 's|^.*/Programs/|   Programs/|' || true
}
echo "== What remains when the uninstaller has ended (the shared library stays for other programs; the"
echo "   uninstaller's own file is due to go at the next restart):"
remains
tests/wine/with-wine wine reg query "$uninstall_key" >/dev/null 2>&1 && echo "   the Uninstall key"
echo "== What remains after Wine's next start, which does what Windows does at a restart:"
tests/wine/with-wine wine cmd.exe /c exit 0 >/dev/null 2>&1 || true
remains

echo
echo "== The same medium as one download (qsmedia --single-file):"
single=$demo/download/Quillset-Demo-Setup.exe
mkdir -p "$demo/download"
build/tools/qsmedia examples/demo/medium.txt --single-file "$single" --tree "$tree" --programs "$release"
unpack_folders() { find "$prefix/drive_c" -maxdepth 7 -type d -regex '.*/qs-[0-9a-f]\{16\}' 2>/dev/null; }
echo "== The single file under Wine, driven by the robot:"
single_status=0
walk "$demo/download" "$top/examples/demo/demo-single-file.scenario" || single_status=$?
[ $status -ne 0 ] || status=$single_status
if [ $single_status -eq 0 ]; then
  echo "== Installed from the single file, which ended with Setup.exe's exit code 0:"
  (cd "$app_dir" 2>/dev/null && find . -maxdepth 1 -type f | sort | sed 's|^\./|   |' | head -8)
else
  echo "== The walk through the single file's wizard failed (robot exit status $single_status)."
fi
left=$(unpack_folders)
if [ -z "$left" ]; then echo "== The folder it unpacked into is gone."; else echo "== Left behind: $left"; status=1; fi
echo "== Removed again by its uninstaller:"
if walk "$demo/download" "$top/examples/demo/demo-uninstall.scenario" >/dev/null; then echo "   done"
else echo "   the uninstallation failed"; status=1; fi
echo
echo "== Screenshots:"
ls "$demo"/*.png | sed 's|^|   |'
exit $status
