#!/usr/bin/env bash
# Renders the ABC score to a seamlessly looping MP3.
#   render.sh SCORE.abc OUT.mp3 SCRATCH_DIR SOUNDFONT.sf2
#
# The score has 28 bars of music (3 s = 132300 samples each at 44.1 kHz)
# followed by 2 silent bars in which the instruments ring out. We cut the
# music at exactly 28 bars and mix the ring-out onto the start, which is
# what a listener hears when the loop plays round: no gap, no jump.
#
# Seam in the MP3: the player decodes through libmpg123, which honours the
# LAME header's encoder delay and padding, so the decoded PCM is exactly the
# 84 s we encode, sample for sample.
set -euo pipefail
score=$1 mp3=$2 tmp=$3 sf2=$4

bar=132300      # samples per bar: 6 eighths at eighth = 120 bpm
bars=28         # bars of music in one loop
tail_bars=2     # silent bars rendered after them for the ring-out
loop=$((bar * bars))

abc2midi "$score" -o "$tmp/music.mid" >/dev/null
fluidsynth -ni -q -F "$tmp/full.wav" -r 44100 -g 0.4 "$sf2" "$tmp/music.mid" >/dev/null 2>&1

sox -R "$tmp/full.wav" -e floating-point -b 32 "$tmp/loop.wav" trim 0 "${loop}s"
sox -R "$tmp/full.wav" -e floating-point -b 32 "$tmp/tail.wav" trim "${loop}s" "$((bar * tail_bars))s"
# intermediates stay in 32-bit float; only the last step rounds to 16 bits
# -m would halve each input; -v 1 keeps both at full level
sox -R -m -v 1 "$tmp/loop.wav" -v 1 "$tmp/tail.wav" -e floating-point -b 32 "$tmp/folded.wav" trim 0 "${loop}s"
# peak to -2 dBFS (headroom for the encoder); -R keeps any dither repeatable, so the MP3 is too
sox -R "$tmp/folded.wav" -e signed -b 16 "$tmp/final.wav" gain -n -2

lame --quiet --noreplaygain -m j --cbr -b 160 -q 2 "$tmp/final.wav" "$mp3"
