#!/usr/bin/env bash
# Starts lumen7 when there is a display to show it on.
set -euo pipefail
program=$1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "lumen7 needs a graphical display (DISPLAY is not set); start it from a desktop session." >&2
  exit 1
fi
exec "$program"
