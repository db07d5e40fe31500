#!/usr/bin/env bash
# Runs one fuzz target over its committed seeds without writing into the tree: new corpus entries
# go to WORK/corpus, inputs that fail to WORK/ (crash-*, leak-*, timeout-*, ...).
#   run_fuzzer.sh FUZZER SEEDS WORK [--fresh] [libFuzzer options...]
# --fresh starts from an empty WORK (the test run); without it the corpus of earlier runs is kept.
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3
shift 3
if [ "${1:-}" = "--fresh" ]; then
  rm -rf "$work"
  shift
fi
mkdir -p "$work/corpus"
# NAME.dict and NAME.options beside the corpus folder: the target's dictionary, and libFuzzer options
# of its own (one a line, '#' starts a comment), which options given here override.
dict=${seeds%/corpus/*}/$(basename "$seeds").dict
own=${seeds%/corpus/*}/$(basename "$seeds").options
options=()
[ -f "$dict" ] && options+=("-dict=$dict")
if [ -f "$own" ]; then
  while read -r option; do
    [ -z "$option" ] || [ "${option#\#}" != "$option" ] || options+=("$option")
  done <"$own"
fi
# A unit that runs for minutes is a hang; leaks and sanitizer reports fail the run.
exec "$fuzzer" -timeout=120 -artifact_prefix="$work/" "${options[@]}" "$@" "$work/corpus" "$seeds"
