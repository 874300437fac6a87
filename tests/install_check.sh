#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree: the programs,
# the menu entry, the AppStream file and every icon are there, and both validators pass.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=io.github.zyrk.Zyrk
fail=0
need() {
  if [ ! -s "$prefix/$1" ]; then
    echo "missing: $1"
    fail=1
  fi
}
need bin/zyrk
need bin/zyrk-sim
need bin/zyrk-cli
need share/applications/$id.desktop
need share/metainfo/$id.metainfo.xml
need share/icons/hicolor/scalable/apps/$id.svg
need share/doc/zyrk/LICENSE
for size in 16 32 48 128 256; do
  need share/icons/hicolor/${size}x${size}/apps/$id.png
  # Each picture has the size its folder names.
  if [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" ]; then
    got=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" |
      awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
    [ "$got" = "${size}x${size}" ] || { echo "icon ${size}: is $got"; fail=1; }
  fi
done
[ $fail -eq 0 ] || exit 1

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
# The entry starts the installed program, and the icon it names is the one installed.
grep -qx 'Exec=zyrk' "$prefix/share/applications/$id.desktop"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop"
# The installed program answers without a display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zyrk" --version | grep -q '^zyrk 56$'
echo "installed tree OK"
