#!/usr/bin/env bash
# Runs every benchmark program of a build; figures belong in bench/README.md.
set -euo pipefail
build_dir=$1
shopt -s nullglob
for program in "$build_dir"/bench/*_bench; do
  echo "== $(basename "$program")"
  if [[ "$program" == *_gui_bench && -z "${DISPLAY:-}" ]]; then
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$program" "${@:2}"
  else
    "$program" "${@:2}"
  fi
done
