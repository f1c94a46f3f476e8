#!/usr/bin/env bash
# Runs the whole suite with ctest; the GUI tests get a virtual X server when
# there is no display.
set -euo pipefail
build_dir=$1
cd "$build_dir"
run=(ctest --output-on-failure --timeout 300 -j "$(nproc)")
# The virtual X server must not reset when its last client leaves: a test
# starting in that moment would be refused.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "${run[@]}"
fi
exec "${run[@]}"
