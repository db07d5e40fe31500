#!/usr/bin/env bash
# The demo: what the setup program reads from the example medium's script.
set -euo pipefail
cd "$(dirname "$0")/.."
medium=examples/demo
echo "== Statements of $medium/SetupScript.ini, as Setup.exe reads them (qscheck statements):"
build/native/qscheck statements "$medium/SetupScript.ini"
