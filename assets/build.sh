#!/usr/bin/env bash
# Regenerates every file in Data/ from the sources in assets/.
# Run from the repository root (make data does): assets/build.sh
#
# Tools (Debian 12 packages, installed by `scripts/deps data`):
#   ImageMagick 6, librsvg2-bin (rsvg-convert), abcmidi (abc2midi),
#   fluidsynth + fluid-soundfont-gm, sox, lame, fonts-dancingscript.
#
# The output is byte-identical on every run: all noise uses fixed seeds,
# ImageMagick runs single-threaded (its noise generator is per thread), the
# BMPs carry no timestamps or metadata, and sox dithers repeatably (-R).
# Other versions of the tools (fluidsynth, lame) may change the music in the
# last bits; its length and loop seam stay exact.
set -euo pipefail

root=$(pwd)
assets="$root/assets"
out="$root/Data"
if [ ! -f "$assets/build.sh" ]; then
  echo "assets/build.sh: run me from the repository root" >&2
  exit 1
fi

# Prefer the real ImageMagick binaries over any wrapper earlier in PATH.
im() { if [ -x /usr/bin/convert-im6.q16 ]; then /usr/bin/convert-im6.q16 "$@"; else convert "$@"; fi; }
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

for tool in rsvg-convert abc2midi fluidsynth sox lame; do
  command -v "$tool" >/dev/null || { echo "assets/build.sh: $tool missing (scripts/deps data)" >&2; exit 1; }
done
soundfont=/usr/share/sounds/sf2/FluidR3_GM.sf2
font=/usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf
for f in "$soundfont" "$font"; do
  [ -f "$f" ] || { echo "assets/build.sh: $f missing (scripts/deps data)" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# Writes a 24-bit uncompressed BMP (BITMAPINFOHEADER, BI_RGB) without any
# metadata. $1 = input picture, $2 = output name in Data/, $3 = colour put
# behind transparent parts.
to_bmp() {
  im "$1" -background "$3" -alpha remove -alpha off -depth 8 -type truecolor \
     +set date:create +set date:modify -strip -define bmp:format=bmp3 \
     "BMP3:$out/$2"
}

# A seamless grey noise field: seed, size, blur sigma. Blurring with tiled
# virtual pixels wraps at the edges, so the result tiles without seams.
noise() {
  im -seed "$1" -size "$2" xc:gray50 +noise Random -channel R -separate +channel \
     -virtual-pixel tile -blur "0x$3" -auto-level "$4"
}

echo "pictures..." >&2

# --- snow.bmp: ground snow, tiled 5x5 -----------------------------------
# Height field from three octaves of wrapped noise; the drifts get relief
# from -shade (also wrapped), then the greys are mapped to blue-white snow.
noise 101 512x512 40 "$tmp/s1.png"
noise 102 512x512 14 "$tmp/s2.png"
noise 103 512x512 2.5 "$tmp/s3.png"
im "$tmp/s1.png" "$tmp/s2.png" "$tmp/s3.png" -poly "0.55,1 0.33,1 0.12,1" "$tmp/sh.png"
im "$tmp/sh.png" -virtual-pixel tile -shade 125x38 -auto-level "$tmp/sl.png"
im "$tmp/sh.png" "$tmp/sl.png" -poly "0.35,1 0.65,1" -level 8%,100% \
   +level-colors "#a6b8d8","#ffffff" "$tmp/sc.png"
# sparkle: a few single bright pixels
im -seed 104 -size 512x512 xc:gray50 +noise Random -channel R -separate +channel \
   -threshold 99.75% -virtual-pixel tile -blur 0x0.5 -auto-level "$tmp/sp.png"
im "$tmp/sc.png" "$tmp/sp.png" -compose screen -composite "$tmp/snow.png"
to_bmp "$tmp/snow.png" snow.bmp white

# --- Baumoben.bmp: fir crown, wrapped around a cone ---------------------
# Needles are noise smeared along two drooping directions. The crown gets
# tiers of branches: each band is dark where the tier above shades it and
# lighter (with snow) toward the branch tips; the scallops repeat a whole
# number of times around, so the left and right edges meet.
im -seed 201 -size 512x512 xc:gray50 +noise Random -channel R -separate +channel \
   -virtual-pixel tile -motion-blur 0x9+118 "$tmp/n1.png"
im -seed 202 -size 512x512 xc:gray50 +noise Random -channel R -separate +channel \
   -virtual-pixel tile -motion-blur 0x9+62 "$tmp/n2.png"
im "$tmp/n1.png" "$tmp/n2.png" -compose lighten -composite -auto-level \
   -sigmoidal-contrast 6x55% "$tmp/needles.png"
tv="(j/h*7 - 0.38*abs(sin(pi*i/w*7)) + 0.07*sin(2*pi*i/w*3) + 0.05*sin(2*pi*i/w*11))"
tf="($tv-floor($tv))"
im -size 512x512 xc:black -fx "0.28+0.72*$tf*$tf*(3-2*$tf)" "$tmp/tiers.png"
im "$tmp/needles.png" "$tmp/tiers.png" -compose multiply -composite \
   +level-colors "#03140a","#3f7f3e" "$tmp/green.png"
# snow dusting: patches of wrapped noise, only where the tiers are lit
noise 203 512x512 3 "$tmp/d1.png"
noise 204 512x512 12 "$tmp/d2.png"
im "$tmp/d1.png" "$tmp/d2.png" -poly "0.5,1 0.5,1" "$tmp/tiers.png" -compose multiply -composite \
   -level 52%,78% "$tmp/dust.png"
im -size 512x512 xc:"#eef4ff" "$tmp/dust.png" -alpha off -compose copy_opacity -composite "$tmp/dustc.png"
im "$tmp/green.png" "$tmp/dustc.png" -compose over -composite "$tmp/crown.png"
to_bmp "$tmp/crown.png" Baumoben.bmp black

# --- Baumstamm.bmp: bark, wrapped around the trunk ----------------------
im -seed 301 -size 256x256 xc:gray50 +noise Random -channel R -separate +channel \
   -virtual-pixel tile -motion-blur 0x24+90 -blur 0x0.8 -auto-level "$tmp/b1.png"
noise 302 256x256 10 "$tmp/b2.png"
# fissures: the darkest streaks of a second smeared noise, widened a little
im -seed 303 -size 256x256 xc:gray50 +noise Random -channel R -separate +channel \
   -virtual-pixel tile -motion-blur 0x40+90 -blur 0x1.6 -auto-level -level 18%,42% "$tmp/b3.png"
im "$tmp/b1.png" "$tmp/b2.png" -poly "0.7,1 0.3,1" -sigmoidal-contrast 5x50% \
   "$tmp/b3.png" -compose multiply -composite \
   +level-colors "#1a0f09","#8f6848" "$tmp/bark.png"
to_bmp "$tmp/bark.png" Baumstamm.bmp black

# --- Schneeman.bmp: packed snow around both snowman spheres -------------
# Rows run from the lower pole (bottom of the picture) to the upper one;
# the lower half gets a faint blue shade, as if in its own shadow.
noise 401 256x256 7 "$tmp/m1.png"
noise 402 256x256 1.5 "$tmp/m2.png"
im "$tmp/m1.png" "$tmp/m2.png" -poly "0.6,1 0.4,1" "$tmp/mh.png"
im "$tmp/mh.png" -virtual-pixel tile -shade 120x45 -auto-level "$tmp/ml.png"
im "$tmp/mh.png" "$tmp/ml.png" -poly "0.5,1 0.5,1" +level-colors "#d3deef","#ffffff" "$tmp/mc.png"
im -size 256x256 gradient:"#ffffff"-"#e4ecfa" "$tmp/mg.png"
im "$tmp/mc.png" "$tmp/mg.png" -compose multiply -composite "$tmp/snowman.png"
to_bmp "$tmp/snowman.png" Schneeman.bmp white

# --- SVG drawings --------------------------------------------------------
rsvg-convert "$assets/pictures/santa.svg" -w 256 -h 256 -o "$tmp/santa.png"
to_bmp "$tmp/santa.png" santa.bmp white
rsvg-convert "$assets/pictures/gesicht.svg" -w 256 -h 256 -o "$tmp/gesicht.png"
to_bmp "$tmp/gesicht.png" Gesicht.bmp white
rsvg-convert "$assets/pictures/muetze.svg" -w 256 -h 256 -o "$tmp/muetze.png"
to_bmp "$tmp/muetze.png" Muetze.bmp black

# snowFlake.bmp: drawn at 256, glow added, scaled to 64; the faintest glow
# is cut to pure black so the quad's edges vanish completely.
rsvg-convert "$assets/pictures/snowflake.svg" -w 256 -h 256 -o "$tmp/flake.png"
im "$tmp/flake.png" -background black -alpha remove -alpha off \
   \( +clone -blur 0x6 -fill "#9cc8ff" -colorize 0 \) -compose screen -composite \
   -filter Lanczos -resize 64x64 -level 3%,100% \
   -bordercolor black -shave 1x1 -border 1x1 "$tmp/flake64.png"
to_bmp "$tmp/flake64.png" snowFlake.bmp black

# --- greetings.bmp: "Frohe Weihnachten" with a warm glow ----------------
im -size 512x128 xc:black -font "$font" -pointsize 62 -fill white -gravity center \
   -annotate +0+2 "Frohe Weihnachten" -channel R -separate +channel "$tmp/gmask.png"
im -size 512x128 gradient:"#fff3c4"-"#f0a83a" "$tmp/gmask.png" -compose multiply -composite "$tmp/gtext.png"
im "$tmp/gmask.png" -blur 0x7 -level 0%,70% +level-colors black,"#c8461a" "$tmp/gglow.png"
im "$tmp/gmask.png" -blur 0x2 -level 0%,80% +level-colors black,"#ffb347" "$tmp/ghalo.png"
im "$tmp/gglow.png" "$tmp/ghalo.png" -compose screen -composite \
   "$tmp/gtext.png" -compose screen -composite \
   -level 2%,100% -bordercolor black -shave 1x1 -border 1x1 "$tmp/greet.png"
to_bmp "$tmp/greet.png" greetings.bmp black

# --- the contact sheet, from the pictures just written ------------------
"$assets/contact-sheet.sh"

# --- music.mp3 -----------------------------------------------------------
echo "music..." >&2
"$assets/music/render.sh" "$assets/music/stille-nacht.abc" "$out/music.mp3" "$tmp" "$soundfont"

echo "Data/ regenerated." >&2
