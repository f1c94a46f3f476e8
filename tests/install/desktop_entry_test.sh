#!/usr/bin/env bash
# Installs the build into a scratch prefix, as a packager would, and checks
# the program, the desktop entry (valid, opens DXF files, never claims *.dat)
# and the icon in the hicolor theme.
set -euo pipefail
build_dir=$1
# The test starts this shell without LD_PRELOAD; a sanitizer preload, handed
# over in LUMEN7_SANITIZER_PRELOAD, is for the program, not for cmake and the
# validators.
preload=${LUMEN7_SANITIZER_PRELOAD-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() { echo "desktop entry: $*" >&2; exit 1; }

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
entry=$prefix/share/applications/lumen7.desktop
[ -x "$prefix/bin/lumen7" ] || fail "no program in bin/"
[ -f "$entry" ] || fail "no desktop entry in share/applications/"
[ -f "$prefix/share/icons/hicolor/48x48/apps/lumen7.png" ] || fail "no icon in the hicolor theme"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"

value() { sed -n "s/^$1=//p" "$entry"; }
[[ $(value Exec) == *%f* ]] || fail "Exec does not take a file (%f): $(value Exec)"
[[ ";$(value MimeType);" == *";image/vnd.dxf;"* ]] || fail "the DXF MIME type is missing: $(value MimeType)"
[[ ";$(value Categories);" == *";Graphics;"* ]] || fail "not in the Graphics category: $(value Categories)"
[ "$(value Icon)" = lumen7 ] || fail "the icon is not the installed one: $(value Icon)"
# .dat belongs to too many other programs.
if grep -qi 'dat' <<<"$(value MimeType)"; then fail "claims a .dat type: $(value MimeType)"; fi

# The installed program runs: it converts without a display.
workdir=$(mktemp -d)
trap 'rm -rf "$prefix" "$workdir"' EXIT
printf '  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n0\n 20\n0\n 11\n1\n 21\n1\n  0\nENDSEC\n  0\nEOF\n' >"$workdir/in.dxf"
(cd "$workdir" && env -u DISPLAY -u WAYLAND_DISPLAY ${preload:+LD_PRELOAD="$preload"} "$prefix/bin/lumen7" --export in.dxf out.dat) ||
  fail "the installed program cannot convert"
[ -s "$workdir/out.dat" ] || fail "the installed program wrote nothing"
echo "desktop entry: installed and valid"
