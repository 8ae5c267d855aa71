#!/usr/bin/env bash
# Writes assets/contact-sheet.png: the nine pictures of Data/ side by side,
# for review (the program does not use it). assets/build.sh runs it after
# writing Data/, so `make data` keeps the two in step; after changing a
# picture by other means, run it from the repository root and commit both.
# Needs ImageMagick 6 and fonts-dejavu-core (`scripts/deps data`).
set -euo pipefail

root=$(pwd)
if [ ! -f "$root/assets/contact-sheet.sh" ]; then
  echo "assets/contact-sheet.sh: run me from the repository root" >&2
  exit 1
fi
data="$root/Data"
labelfont=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -f "$labelfont" ] || { echo "assets/contact-sheet.sh: $labelfont missing (scripts/deps data)" >&2; exit 1; }

# Prefer the real ImageMagick binary over any wrapper earlier in PATH.
montage_im() { if [ -x /usr/bin/montage-im6.q16 ]; then /usr/bin/montage-im6.q16 "$@"; else montage "$@"; fi; }
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

montage_im -font "$labelfont" -pointsize 12 -background "#404040" -fill white \
  -label '%f' "$data/snow.bmp" "$data/santa.bmp" "$data/greetings.bmp" "$data/snowFlake.bmp" \
  "$data/Baumoben.bmp" "$data/Baumstamm.bmp" "$data/Schneeman.bmp" "$data/Gesicht.bmp" "$data/Muetze.bmp" \
  -geometry 192x192+6+6 -tile 3x3 +set date:create +set date:modify -strip \
  "$root/assets/contact-sheet.png"
