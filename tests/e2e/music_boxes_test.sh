#!/usr/bin/env bash
# The message boxes the music shows while the scene window is being created:
#   1. without Data/music.mp3: one box, then the scene;
#   2. with an audio driver that does not exist: three boxes, one after the
#      other, then the scene;
#   3. with a music.mp3 that is random bytes, empty or text: one box, then
#      the scene;
#   4. with a sound server that cannot play (PulseAudio with no sink,
#      PipeWire with no session manager; each of the test's own): three
#      boxes, the first within 15 s (PipeWire's pulse server gives up on
#      a stream after about 30 s), then the scene.
# Each run ends on Escape with exit status 0, and the terminal shows nothing
# but the program's own lines (and, for a broken music file, the MP3
# decoder's own lines about it).
#
# SDL's X11 boxes draw their text themselves; only the caption can be read
# from the window (its name). So each case runs twice:
#   - with real boxes: count them (each is answered with Return once it is
#     there, and the scene window appears only after the last one, because
#     the boxes are modal inside window creation) and read their caption;
#   - with the X server's font path emptied: SDL cannot open a box without a
#     font, and the program's box layer writes "caption: text" to stderr
#     instead, so the texts and their order can be compared exactly.
# Exit status 0 when all checks pass; the last line is "N passed, N failed".
set -u

# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sound_server.sh"

SOURCE_DIR=${WINTERHAIN_SOURCE_DIR:-$(cd "$E2E_DIR/../.." && pwd)}
BIN=${WINTERHAIN_BIN:-$SOURCE_DIR/build/winterhain}
CAPTION=Winterhain
# The audio library's error codes (src/framework/audio_library.hpp).
NOT_INITIALISED=1
FILE_OPEN=2
FILE_FORMAT=3


# A working directory with the pictures of Data/ and, unless MUSIC is
# "none", MUSIC as Data/music.mp3.
make_workdir() { # make_workdir DIR MUSIC
  mkdir -p "$1/Data" || return 1
  local picture
  for picture in "$SOURCE_DIR"/Data/*.bmp; do ln -s "$picture" "$1/Data/" || return 1; done
  [ "$2" = none ] || cp "$2" "$1/Data/music.mp3"
}

# Starts the program in DIR with SDL_AUDIODRIVER=DRIVER (the disk driver
# writes to a file in DIR), or with the program's own choice of driver
# when DRIVER is "-"; stderr goes to DIR/stderr. Sets PROGRAM_PID and
# PROGRAM_START_MS.
start_music_run() { # start_music_run DIR DRIVER [VAR=VALUE...]
  local driver=(SDL_AUDIODRIVER="$2")
  [ "$2" = - ] && driver=(-u SDL_AUDIODRIVER)
  PROGRAM_START_MS=$(_e2e_now_ms)
  (cd "$1" && exec env "${driver[@]}" SDL_DISKAUDIOFILE="$1/sound.raw" "${@:3}" "$BIN") \
    2>"$1/stderr" &
  PROGRAM_PID=$!
  e2e_on_exit e2e_kill "$PROGRAM_PID"
}



# After a run that failed half-way: no program left, desktop mode back.
# A box still up goes with the program.
clean_up_run() {
  e2e_kill "$PROGRAM_PID"
  [ "$(xserver_mode)" = "$DESKTOP_MODE" ] || xserver_set_mode "$DESKTOP_MODE"
}

# Runs the program in DIR with DRIVER, answers BOXES real boxes, and ends it
# once the scene window is there. Then the terminal must hold nothing: the
# boxes said it all.
run_with_boxes() { # run_with_boxes DIR DRIVER BOXES [VAR=VALUE...]
  start_music_run "$1" "$2" "${@:4}"
  answer_boxes_and_end "$3"
  local status=$?
  clean_up_run
  [ "$status" -eq 0 ] && only_boxes_on_terminal "$1"
}

# Like run_with_boxes, and the first box is up within SECONDS of the start.
run_with_boxes_within() { # run_with_boxes_within SECONDS DIR DRIVER BOXES [VAR=VALUE...]
  start_music_run "$2" "$3" "${@:5}"
  local status=1 box_ms=none
  if wait_for_message_box "$CAPTION" 40 >/dev/null; then
    box_ms=$(($(_e2e_now_ms) - PROGRAM_START_MS))
    answer_boxes_and_end "$4"
    status=$?
  fi
  echo "     the first box came $box_ms ms after the start"
  clean_up_run
  [ "$status" -eq 0 ] && [ "$box_ms" -le $(($1 * 1000)) ] && only_boxes_on_terminal "$2"
}

# The program's stderr in DIR holds nothing but the texts of boxes that
# could not be shown, SDL's notice that its disk driver (a test's choice)
# is in use, and lines matching ALSO_SHOWN (a grep pattern; none when unset).
only_boxes_on_terminal() { # only_boxes_on_terminal DIR
  local other
  other=$(grep -v -e "^$CAPTION: " -e '^CRITICAL: .*\(disk i/o audio driver\|Writing to file\)' \
    ${ALSO_SHOWN:+-e "$ALSO_SHOWN"} "$1/stderr")
  [ -z "$other" ] && return 0
  printf '     on the terminal:\n%s\n' "$other"
  return 1
}

answer_boxes_and_end() { # answer_boxes_and_end BOXES
  local window
  answer_boxes "$1" || return 1
  window=$(wait_for_window OpenGL 20) || return 1
  # The boxes come before the window is shown: none may be left now.
  if _find_window "$CAPTION" box >/dev/null; then echo "one box too many" >&2; return 1; fi
  send_key "$window" Escape || return 1
  wait_pid_exit "$PROGRAM_PID" 15
}

# Runs the program in DIR with DRIVER while no box can be shown, ends it,
# and prints the boxes' "caption: text" lines from its stderr.
run_for_box_texts() { # run_for_box_texts DIR DRIVER EXPECTED [VAR=VALUE...]
  local window status=1
  start_music_run "$1" "$2" "${@:4}"
  if window=$(wait_for_window OpenGL 20) && send_key "$window" Escape; then
    wait_pid_exit "$PROGRAM_PID" 15
    status=$?
  fi
  clean_up_run
  grep "^$CAPTION: " "$1/stderr"
  return "$status"
}

# The box lines of a run must be exactly EXPECTED (one line a box), and
# the terminal must show nothing else.
box_texts_are() { # box_texts_are DIR DRIVER EXPECTED [VAR=VALUE...]
  local texts
  texts=$(run_for_box_texts "$@") || { echo "program failed" >&2; return 1; }
  if [ "$texts" != "$3" ]; then
    printf 'box texts:\n%s\nexpected:\n%s\n' "$texts" "$3" >&2
    return 1
  fi
  only_boxes_on_terminal "$1" >&2
}

# A font directory with no fonts, for `xset fp`.
make_empty_font_dir() { mkdir -p "$1" && echo 0 >"$1/fonts.dir"; }
# The font SDL's X11 boxes ask for.
box_font() { xlsfonts -fn '-*-*-medium-r-normal--*-120-*-*-*-*-*-*' 2>/dev/null | grep -q .; }
no_box_font() { ! box_font; }

tmp=$(mktemp -d /tmp/winterhain-music-boxes.XXXXXX)
e2e_on_exit rm -rf "$tmp"
check "xserver_start" xserver_start || e2e_finish
DESKTOP_MODE=$(xserver_mode)
check "the X server has the font boxes need" box_font

# The broken music files.
printf 'Frohe Weihnachten! This is a text, no music.\n%.0s' {1..100} >"$tmp/text.mp3"
: >"$tmp/empty.mp3"
sox -R -r 44100 -n -t raw -e signed -b 16 -c 1 "$tmp/random.mp3" synth 0.5 whitenoise vol 0.9
check "random bytes made" [ -s "$tmp/random.mp3" ]

# ---- real boxes ------------------------------------------------------------
make_workdir "$tmp/missing" none
check "no music file: one box, then the scene; exit 0" run_with_boxes "$tmp/missing" disk 1
sound_level=$(sox -t raw -r 44100 -e signed -b 16 -c 1 "$tmp/missing/sound.raw" -n stat 2>&1 |
  awk '/^Maximum amplitude/ { print $3 }')
check "no music file: the output stays silent" [ "$sound_level" = 0.000000 ]

make_workdir "$tmp/nodriver" "$SOURCE_DIR/Data/music.mp3"
check "audio driver that does not exist: three boxes, then the scene; exit 0" \
  run_with_boxes "$tmp/nodriver" nonexistent 3

# libmpg123's own lines about a damaged file ("Note: Illegal Audio-MPEG-Header
# ...", "[src/libmpg123/parse.c:...] warning: ...") may show beside its box.
decoder_lines='^\(Note: \|\[src/libmpg123/\)'
make_workdir "$tmp/random" "$tmp/random.mp3"
ALSO_SHOWN=$decoder_lines check "random bytes as music: one box, then the scene; exit 0" \
  run_with_boxes "$tmp/random" disk 1

# Sound servers that answer but cannot play, with the program choosing its
# driver as it does for a user.
check "a PulseAudio server with no sink" pulse_start ""
check "PulseAudio with no sink: three boxes, the first within 15 s, then the scene; exit 0" \
  run_with_boxes_within 15 "$tmp/nodriver" - 3 PULSE_SERVER="$SOUND_SERVER"
check "a PipeWire server with no session manager" pipewire_start
check "PipeWire with no session manager: three boxes, the first within 15 s, then the scene; exit 0" \
  run_with_boxes_within 15 "$tmp/nodriver" - 3 PULSE_SERVER="$SOUND_SERVER"

# ---- box texts, with no font for boxes -------------------------------------
check "empty font directory" make_empty_font_dir "$tmp/fonts"
check "font path emptied" xset fp= "$tmp/fonts"
e2e_on_exit xset fp default
check "no font for boxes left" no_box_font

check "no music file: the box says the file cannot be opened" \
  box_texts_are "$tmp/missing" disk "$CAPTION: Keine Musik!!!!!!!! Error $FILE_OPEN"
check "no audio driver: three box texts in order" \
  box_texts_are "$tmp/nodriver" nonexistent "$CAPTION: Fehler!
$CAPTION: Fehler! Start()
$CAPTION: Keine Musik!!!!!!!! Error $NOT_INITIALISED"
# No sound server and no sound card (an ALSA configuration with no device).
: >"$tmp/no-device.conf"
check "no sound server, no sound card: three box texts and nothing else" \
  box_texts_are "$tmp/nodriver" - "$CAPTION: Fehler!
$CAPTION: Fehler! Start()
$CAPTION: Keine Musik!!!!!!!! Error $NOT_INITIALISED" \
  PULSE_SERVER="unix:$tmp/no-server" ALSA_CONFIG_PATH="$tmp/no-device.conf"
for broken in random empty text; do
  make_workdir "$tmp/$broken-text" "$tmp/$broken.mp3"
  ALSO_SHOWN=$decoder_lines check "$broken music file: the box says it is no playable music" \
    box_texts_are "$tmp/$broken-text" disk "$CAPTION: Keine Musik!!!!!!!! Error $FILE_FORMAT"
done
check "with the music in place no box at all" box_texts_are "$tmp/nodriver" disk ""

xset fp default
check "font path restored" box_font
e2e_finish
