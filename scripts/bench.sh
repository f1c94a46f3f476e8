#!/usr/bin/env bash
# Runs every benchmark program of a build; figures belong in bench/README.md.
set -euo pipefail
build_dir=$1
shopt -s nullglob
for program in "$build_dir"/bench/*_bench; do
  echo "== $(basename "$program")"
  "$program" "${@:2}"
done
