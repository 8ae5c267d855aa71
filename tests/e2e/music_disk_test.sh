#!/usr/bin/env bash
# The background music as the sound device receives it. SDL's "disk" audio
# driver writes everything the program plays into a raw file (mono, signed
# 16-bit, 44.1 kHz, no header), which the checks read back with od and sox:
#   1. with Data/music.mp3, the capture holds the music: not silent, and its
#      first second is the file's first second;
#   2. with a 0.5 s tone as Data/music.mp3, the sound goes on long past the
#      file's end (it loops);
#   3. through a PulseAudio server of the test's own, with the program
#      choosing its driver as it does for a user, the server's sink plays
#      (recorded from its monitor with parec, in the same format);
# and each run ends on Escape with exit status 0.
# Exit status 0 when all checks pass; the last line is "N passed, N failed".
set -u

# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sound_server.sh"

SOURCE_DIR=${WINTERHAIN_SOURCE_DIR:-$(cd "$E2E_DIR/../.." && pwd)}
BIN=${WINTERHAIN_BIN:-$SOURCE_DIR/build/winterhain}
RATE=44100
TONE=$SOURCE_DIR/tests/fixtures/tone-440hz-0.5s.mp3 # made as noted in tests/unit/audio_layer_test.cpp


# ---- reading the capture -------------------------------------------------

# Prints COUNT samples (default: all) of a raw capture from sample SKIP on,
# one decimal value a line.
samples() { # samples FILE [SKIP [COUNT]]
  local count=()
  [ -n "${3:-}" ] && count=(-N $(($3 * 2)))
  od -An -v -t d2 -w2 -j $((${2:-0} * 2)) "${count[@]}" "$1"
}

sample_count() { echo $(($(stat -c %s "$1" 2>/dev/null || echo 0) / 2)); }

# Index of the first sample that is not silence; fails when there is none.
first_sound() {
  [ -e "$1" ] || return 1
  samples "$1" | awk '$1 != 0 { print NR - 1; found = 1; exit } END { exit !found }'
}

# RMS of COUNT samples from SKIP on, as a fraction of full scale (sox stat).
rms() { # rms FILE SKIP COUNT
  sox -t raw -r $RATE -e signed -b 16 -c 1 "$1" -n trim "${2}s" "${3}s" stat 2>&1 |
    awk '/^RMS +amplitude/ { print $3 }'
}

at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 >= b + 0) }'; }

# Polls until the capture holds sound and COUNT samples past its first
# sound. Sets FIRST_SOUND to the first sound's index and FIRST_SOUND_MS to
# the moment it was seen. Fails after TIMEOUT seconds.
wait_for_sound() { # wait_for_sound FILE COUNT TIMEOUT
  local deadline
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$3")))
  FIRST_SOUND=
  while :; do
    if [ -z "$FIRST_SOUND" ] && FIRST_SOUND=$(first_sound "$1"); then
      FIRST_SOUND_MS=$(_e2e_now_ms)
    fi
    [ -n "$FIRST_SOUND" ] && [ "$(sample_count "$1")" -ge $((FIRST_SOUND + $2)) ] && return 0
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "wait_for_sound: no sound with $2 samples after it in $1 after $3 s" >&2
      return 1
    fi
    sleep 0.02
  done
}

# Finds where in REF the capture's samples from FIRST on begin: the offset
# (0 to MAXLAG) at which 2048 samples, half a second in, correlate best.
# Decoders differ in the silence they put before the music, hence the search.
# Prints "offset correlation".
align() { # align CAPTURE FIRST REF MAXLAG
  local n=2048 in=$((RATE / 2))
  awk -v n=$n -v maxlag="$4" '
    FNR == NR { c[FNR - 1] = $1; next }
    { r[FNR - 1] = $1 }
    END {
      for (i = 0; i < n; i++) cc += c[i] * c[i]
      best = -2
      for (lag = 0; lag <= maxlag; lag++) {
        xy = 0; rr = 0
        for (i = 0; i < n; i++) { v = r[lag + i]; xy += c[i] * v; rr += v * v }
        corr = (cc > 0 && rr > 0) ? xy / sqrt(cc * rr) : 0
        if (corr > best) { best = corr; at = lag }
      }
      printf "%d %.6f\n", at, best
    }' <(samples "$1" $(($2 + in)) $n) <(samples "$3" $in $(($4 + n)))
}

# Correlation of COUNT capture samples from FIRST on with REF from OFFSET on.
correlation() { # correlation CAPTURE FIRST REF OFFSET COUNT
  paste <(samples "$1" "$2" "$5") <(samples "$3" "$4" "$5") |
    awk '{ xy += $1 * $2; xx += $1 * $1; yy += $2 * $2 }
         END { printf "%.6f\n", (xx > 0 && yy > 0) ? xy / sqrt(xx * yy) : 0 }'
}

# Longest run of samples quieter than 1/32 of full scale between FIRST and
# FIRST + COUNT: where the loop wraps, a gap would show as a long run.
longest_quiet_run() { # longest_quiet_run FILE FIRST COUNT
  samples "$1" "$2" "$3" | awk '
    ($1 < 1024 && $1 > -1024) { run++; if (run > longest) longest = run; next }
    { run = 0 }
    END { print longest + 0 }'
}

# ---- running the program -------------------------------------------------

# A working directory with the pictures of Data/ and MUSIC as Data/music.mp3.
make_workdir() { # make_workdir DIR MUSIC
  mkdir -p "$1/Data" || return 1
  local picture
  for picture in "$SOURCE_DIR"/Data/*.bmp; do ln -s "$picture" "$1/Data/" || return 1; done
  cp "$2" "$1/Data/music.mp3"
}

# Starts the program in DIR with its sound going to CAPTURE; sets PROGRAM_PID
# and PROGRAM_START_MS.
start_music_run() { # start_music_run DIR CAPTURE
  PROGRAM_START_MS=$(_e2e_now_ms)
  (cd "$1" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$2 exec "$BIN") 2>"$2.stderr" &
  PROGRAM_PID=$!
  e2e_on_exit e2e_kill "$PROGRAM_PID"
}

# Starts the program in DIR with its sound going to the PulseAudio server
# SERVER, the driver left to the program; sets PROGRAM_PID.
start_pulse_run() { # start_pulse_run DIR SERVER
  (cd "$1" && exec env -u SDL_AUDIODRIVER PULSE_SERVER="$2" "$BIN") 2>"$tmp/pulse.stderr" &
  PROGRAM_PID=$!
  e2e_on_exit e2e_kill "$PROGRAM_PID"
}

# Escape to the scene window; the program must end with status 0. Whatever
# happens, no program is left and the desktop mode is back afterwards.
end_program() { # end_program WINDOW
  local status=1
  if [ -n "$1" ] && send_key "$1" Escape; then
    wait_pid_exit "$PROGRAM_PID" 15
    status=$?
  fi
  # A message box (shown from a forked child by SDL) would outlive it.
  local child
  for child in $(ps -o pid= --ppid "$PROGRAM_PID" 2>/dev/null); do e2e_kill "$child" 1; done
  e2e_kill "$PROGRAM_PID"
  [ "$(xserver_mode)" = "$DESKTOP_MODE" ] || xserver_set_mode "$DESKTOP_MODE"
  return "$status"
}

tmp=$(mktemp -d /tmp/winterhain-music-disk.XXXXXX)
e2e_on_exit rm -rf "$tmp"
check "xserver_start" xserver_start || e2e_finish
DESKTOP_MODE=$(xserver_mode)

# ---- 1. the music from the start -----------------------------------------
capture=$tmp/music.raw
start_music_run "$SOURCE_DIR" "$capture"
wait_for_sound "$capture" $((RATE + RATE / 2)) 30
first=$FIRST_SOUND
check "music can be heard in the capture" [ -n "$first" ]
if [ -n "$first" ]; then
  # The capture file is made when the device opens and then written in real
  # time: its birth plus the first sound's place in it is when that sound
  # was played.
  opened_ms=$(stat -c %.3W "$capture" | tr -d .)
  # (a file system without birth times reports 0)
  [ "$((10#$opened_ms))" -gt 0 ] && echo "info: device opened $((opened_ms - PROGRAM_START_MS)) ms after the program started;" \
    "first sound at sample $first of the capture, so $((opened_ms - PROGRAM_START_MS + first * 1000 / RATE)) ms;" \
    "seen in the capture after $((FIRST_SOUND_MS - PROGRAM_START_MS)) ms (polled every 20 ms)"
fi
window=$(wait_for_window OpenGL 20)
check "scene window appears" [ -n "$window" ]
check "Escape ends the program with status 0" end_program "$window"

if [ -n "$first" ]; then
  reference=$tmp/reference.raw
  check "sox decodes Data/music.mp3" \
    sox "$SOURCE_DIR/Data/music.mp3" -t raw -r $RATE -e signed -b 16 -c 1 "$reference"
  level=$(rms "$capture" "$first" $RATE)
  expected_level=$(rms "$reference" 0 $((RATE * 11 / 10)))
  echo "info: RMS of the first second: captured $level, decoded by sox $expected_level"
  check "the first second is not silent" at_least "$level" 0.01
  read -r offset fit < <(align "$capture" "$first" "$reference" 8000)
  echo "info: the capture starts at sample $offset of sox's decoding (correlation $fit)"
  whole=$(correlation "$capture" "$first" "$reference" "$offset" $RATE)
  echo "info: correlation over the first second: $whole"
  check "its first second is the file's first second" at_least "$whole" 0.95
fi

# ---- 2. a short file loops -------------------------------------------------
workdir=$tmp/loop
capture=$tmp/loop.raw
check "working directory with a 0.5 s tone as the music" make_workdir "$workdir" "$TONE"
start_music_run "$workdir" "$capture"
# 2.5 s of sound: five times the file's length.
wait_for_sound "$capture" $((RATE * 5 / 2)) 30
first=$FIRST_SOUND
check "the tone can be heard" [ -n "$first" ]
window=$(wait_for_window OpenGL 20)
check "scene window appears" [ -n "$window" ]
check "Escape ends the program with status 0" end_program "$window"
if [ -n "$first" ]; then
  silent=0
  for ((part = 0; part < 25; part++)); do
    level=$(rms "$capture" $((first + part * RATE / 10)) $((RATE / 10)))
    at_least "$level" 0.2 || { silent=$((silent + 1)); echo "info: quiet at $((part * 100)) ms: RMS $level"; }
  done
  check "every tenth of a second of the first 2.5 s sounds (the file lasts 0.5 s)" [ "$silent" -eq 0 ]
  echo "info: longest run of samples below 1/32 of full scale in 2.5 s of loops:" \
    "$(longest_quiet_run "$capture" "$first" $((RATE * 5 / 2)))"
fi

# ---- 3. through a sound server -------------------------------------------
check "a PulseAudio server with a sink" pulse_start "load-module module-null-sink sink_name=scene"
capture=$tmp/pulse.raw
PULSE_SERVER=$SOUND_SERVER parec --device=scene.monitor --format=s16le --rate=$RATE --channels=1 \
  >"$capture" &
recorder=$!
e2e_on_exit e2e_kill "$recorder"
start_pulse_run "$SOURCE_DIR" "$SOUND_SERVER"
wait_for_sound "$capture" $RATE 30
first=$FIRST_SOUND
check "the sink plays sound" [ -n "$first" ]
window=$(wait_for_window OpenGL 20)
check "scene window appears" [ -n "$window" ]
check "Escape ends the program with status 0" end_program "$window"
e2e_kill "$recorder"
if [ -n "$first" ]; then
  # Where in the file the recording begins is the server's matter (its
  # monitor may start late); what is played is checked on the captures above.
  level=$(rms "$capture" "$first" $RATE)
  echo "info: RMS of the first second through the server: $level"
  check "the sink plays a second of sound at the music's level" at_least "$level" 0.01
fi

e2e_finish
