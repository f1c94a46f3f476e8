#!/usr/bin/env bash
# Installs the Debian 12 packages lumen7 needs to build, test and run.
# Checks with dpkg first and installs only what is missing; does nothing when all is there.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins
  libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  clang libclang-rt-14-dev
  locales fonts-dejavu-core
  libdxflib-dev qt6-svg-dev
  python3-ezdxf librsvg2-bin poppler-utils desktop-file-utils
  qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests check number formatting under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating locale de_DE.UTF-8"
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
