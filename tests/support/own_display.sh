#!/usr/bin/env bash
# Runs a test program on a virtual display of its own:
#   own_display.sh WIDTHxHEIGHTxDEPTH PROGRAM [ARGS...]
# The X server, xvfb-run's helpers and this shell are not ours to check: the
# test starts it without LD_PRELOAD, and a sanitizer preload, handed over in
# LUMEN7_SANITIZER_PRELOAD, goes to the program alone.
set -euo pipefail
screen=$1
shift
preload=${LUMEN7_SANITIZER_PRELOAD-}
exec xvfb-run -a -s "-screen 0 $screen -noreset" \
  env ${preload:+LD_PRELOAD="$preload"} "$@"
