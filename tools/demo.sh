#!/usr/bin/env bash
# The demo: lays out examples/demo as an installation medium (Setup.exe, its script, the demo
# program and shared library built by this project, a readme), runs Setup.exe under Wine, lets the
# robot walk through the wizard, and keeps a screenshot of every step under build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=$top/build/win64
demo=$top/build/demo
medium=$demo/medium

rm -rf "$demo"
mkdir -p "$medium/program" "$medium/shared" "$medium/files"
cp "$build/Setup.exe" "$medium/"
cp examples/demo/SetupScript.ini "$medium/"
cp examples/demo/files/* "$medium/files/"
cp "$build/demo-payload/QuillDemo.exe" "$medium/program/"
cp "$build/demo-payload/quilldemo.dll" "$medium/shared/"

echo "== The medium ($medium):"
(cd "$medium" && find . -type f | sort | sed 's|^\./|   |')
echo
echo "== What the script declares (qscheck plan, a dry run):"
build/native/qscheck plan "$medium/SetupScript.ini" | sed -n '/"sections"/,/"controls"/p' | sed '$d'
echo
echo "== Setup.exe under Wine, driven by the robot:"
set +e
(cd "$medium" && tests_wine="$top/tests/wine" && "$tests_wine/with-wine" "$tests_wine/wine-run" "$build/robot.exe" "$top/examples/demo/demo.scenario")
status=$?
set -e
echo
if [ $status -eq 0 ]; then
  echo "== Setup.exe ended with exit code 0. Screenshots:"
else
  echo "== The walk through the wizard failed (robot exit status $status). Screenshots so far:"
fi
ls "$demo"/*.png | sed 's|^|   |'
exit $status
