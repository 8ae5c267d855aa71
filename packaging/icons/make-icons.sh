#!/usr/bin/env bash
# Renders the desktop icon packaging/icons/winterhain.svg into the PNG sizes
# a desktop's icon theme looks up, laid out as they are installed:
#   packaging/icons/hicolor/<N>x<N>/apps/winterhain.png
# The PNGs are committed, so building and installing needs no image tools.
# Running it again gives byte-identical files (rsvg-convert writes no time
# or tool metadata). Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_svg=$here/winterhain.svg

command -v rsvg-convert >/dev/null ||
  { echo "make-icons.sh: rsvg-convert not found (apt install librsvg2-bin)" >&2; exit 1; }

for size in 16 22 24 32 48 64 128 256; do
  dir=$here/hicolor/${size}x${size}/apps
  mkdir -p "$dir"
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "$dir/winterhain.png.tmp" "$source_svg"
  mv -f "$dir/winterhain.png.tmp" "$dir/winterhain.png"
done
echo "make-icons.sh: wrote $(find "$here/hicolor" -name winterhain.png | wc -l) PNGs under $here/hicolor"
