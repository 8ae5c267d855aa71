#!/usr/bin/env bash
# On a Wayland desktop (sway, headless) the scene covers the output without
# a mode switch, in proportion: the 4:3 design fills the largest centred 4:3
# area at the output's full resolution, with black bars beside or above and
# below it. Natively (SDL's wayland driver) and through Xwayland, on a 16:9
# and a 5:4 output; Escape, the compositor's close and SIGTERM end it.
# With two outputs natively, on the focused one; at scale 2 on the default
# path, at the output's full resolution.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/sway.sh"

WORK=$(mktemp -d)
e2e_on_exit rm -rf "$WORK"
SHOT=$WORK/shot1.png
SHOT_OUTPUT=HEADLESS-1

# Channel values 0-255 of a region WxH+X+Y (from the top left) of $SHOT.
channels() { # channels STAT GEOMETRY   (STAT: maxima or mean)
  convert "$SHOT" -crop "$2" +repage \
    -format "%[fx:round($1.r*255)] %[fx:round($1.g*255)] %[fx:round($1.b*255)]" info:
}
black() { equals "$(channels maxima "$1")" "0 0 0"; }
all_black() { local region; for region in $1; do black "$region" || return 1; done; }
# Lit: some channel's mean over the region is clearly above black.
lit() { channels mean "$1" | awk '{ exit !($1 + $2 + $3 > 30) }'; }
sky() { channels mean "$1" | awk '{ if ($3 > $1 + 60) exit 0; print "     not sky: " $0; exit 1 }'; }
snow() { channels mean "$1" | awk '{ if ($1 > 140 && $2 > 140 && $3 > 140) exit 0; print "     not snow: " $0; exit 1 }'; }

# The greetings banner of the design, as "x y pixels": the centre of its
# lit pixels in 640x480 design coordinates, and how many there are. It is
# the one lit thing that stands still; the frames' minimum removes the
# flakes, which are bright and move (not the santa sprite, which darkens).
# Arguments: the area to scale to 640x480 (WxH+X+Y) and three or more
# frames.
banner() { # banner GEOMETRY FILE...
  local mask=$WORK/banner.png
  convert "${@:2}" -evaluate-sequence min -crop "$1" +repage -resize '640x480!' \
    -crop 640x120+0+0 +repage -colorspace gray -threshold 55% "$mask"
  local count sx sy
  count=$(convert "$mask" -format '%[fx:mean*w*h]' info:)
  # Pixel values stay within 0..1, so the positions are summed as fractions.
  sx=$(convert "$mask" -fx 'u*i/w' -format '%[fx:mean*w*h*w]' info:)
  sy=$(convert "$mask" -fx 'u*j/h' -format '%[fx:mean*w*h*h]' info:)
  awk -v n="$count" -v x="$sx" -v y="$sy" 'BEGIN { if (n < 1) n = 1; printf "%.0f %.0f %.0f\n", x / n, y / n, n }'
}
# Within 4 design pixels of the reference's centre and 15 % of its size.
same_banner() { # same_banner "x y n" "x y n"
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, s); split(b, r)
    d = (s[1] - r[1]) ^ 2 + (s[2] - r[2]) ^ 2
    if (d <= 16 && s[3] > 0.85 * r[3] && s[3] < 1.15 * r[3]) exit 0
    print "     banner at " a " (x y pixels), in a 640x480 frame at " b; exit 1 }'
}

# The reference: three 640x480 frames of the same scene, rendered off screen
# by the capture tool at different times.
CAPTURE=${WINTERHAIN_BUILD_DIR:-$PWD/build}/winterhain-capture
for frames in 60 160 260; do
  "$CAPTURE" --deltas "16x$frames" --png "$WORK/frame$frames.png" >/dev/null 2>&1 ||
    { echo "FAIL - the capture tool renders no reference frame"; exit 1; }
done
REFERENCE_BANNER=$(banner 640x480+0+0 "$WORK"/frame*.png)

# Sends SIGTERM to PID and waits for it: killed by it (status 128 + 15).
killed_by_sigterm() { # killed_by_sigterm PID
  kill -TERM "$1"
  wait_pid_exit "$1" 10
  equals "$?" 143
}

# The program's other processes: the same executable in this sway's session
# (a guard is forked twice, so it is no child of the program).
helpers_of() { # helpers_of PID
  local pid
  for pid in $(pgrep -x "$(basename "$WINTERHAIN_BIN")"); do
    [ "$pid" != "$1" ] && { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null |
      grep -qx "XDG_RUNTIME_DIR=$SWAY_DIR" && echo "$pid"
  done
}
no_helpers() { local found; found=$(helpers_of "$1"); [ -z "$found" ] || { echo "     other processes: $found"; return 1; }; }

# The design area's outermost rows and columns, as WxH+X+Y.
edges() { # edges W H X Y
  echo "1x$2+$3+$4" "1x$2+$(($3 + $1 - 1))+$4" "${1}x1+$3+$4" "${1}x1+$3+$(($4 + $2 - 1))"
}
area_drawn() { # area_drawn W H X Y: every edge of the area shows the scene
  local edge
  sway_screenshot "$SHOT" || return 1
  for edge in $(edges "$@"); do lit "$edge" || return 1; done
}

# Takes a screenshot of output SHOT_OUTPUT into FILE once the program has drawn a frame other
# than the one in PREVIOUS (up to 10 s): a slow build may show one frame in
# several shots, and the banner check needs frames whose flakes differ.
shot_of_a_new_frame() { # shot_of_a_new_frame FILE PREVIOUS
  local deadline=$(($(_e2e_now_ms) + 10000))
  sway_screenshot "$1" "$SHOT_OUTPUT" || return 1
  until [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != 0 ]; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || return 1
    sway_screenshot "$1" "$SHOT_OUTPUT" || return 1
  done
}

# The banner of the last three shots matches the design's, taking new shots
# for up to 20 s. The santa sprite only darkens, so the shots' minimum keeps
# it: while it crosses the banner (about a second of every turn) no three
# shots can match, and the check waits until it has passed.
banner_comes_out_as_designed() { # banner_comes_out_as_designed AREA
  local deadline=$(($(_e2e_now_ms) + 20000)) next=1 previous=3
  until same_banner "$(banner "$1" "$WORK"/shot[123].png)" "$REFERENCE_BANNER" >/dev/null; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      same_banner "$(banner "$1" "$WORK"/shot[123].png)" "$REFERENCE_BANNER"
      return 1
    fi
    shot_of_a_new_frame "$WORK/shot$next.png" "$WORK/shot$previous.png" || return 1
    previous=$next
    next=$((next % 3 + 1))
  done
}

# run_case LABEL PATH OUTPUT AREA BARS ENDING [VAR=VALUE...]
#   PATH: native, xwayland, or refused (the default path where DISPLAY
#   names an X server that refuses the program, when the tests run as
#   root: it shows natively, with no line of libxcb's on the terminal);
#   AREA: the design area "W H X Y" worked out by hand; BARS: the regions
#   around it; ENDING: escape, close or term; then the program's
#   environment.
run_case() {
  local label=$1 path=$2 output=$3 area=$4 bars=$5 ending=$6 bar shot deadline aw ah ax ay
  sway_start "$output" || exit 1
  read -r aw ah ax ay <<<"$area"
  # As on a desktop session, both displays are announced; the native path
  # is chosen the way a user chooses it.
  if [ "$path" = native ]; then
    start_program SDL_VIDEODRIVER=wayland DISPLAY="$SWAY_X_DISPLAY" "${@:7}"
  elif [ "$path" = refused ]; then
    sway_refuse_x_clients_of_others
    start_program DISPLAY="$SWAY_X_DISPLAY" "${@:7}"
  else
    start_program DISPLAY="$SWAY_X_DISPLAY" "${@:7}"
  fi
  check "$label: window is fullscreen, covering the output" sway_window "$APP_PID" "$output" 30
  # The first frames may come before the window has its full size.
  deadline=$(($(_e2e_now_ms) + 20000))
  until area_drawn "$aw" "$ah" "$ax" "$ay" || [ "$(_e2e_now_ms)" -ge "$deadline" ]; do :; done
  check "$label: scene reaches every edge of the ${aw}x${ah} area" area_drawn "$aw" "$ah" "$ax" "$ay"
  # Bars stay black in every frame: three frames apart, each one is checked.
  for bar in $bars; do check "$label: bar $bar is black" black "$bar"; done
  for shot in 2 3; do
    SHOT=$WORK/shot$shot.png
    shot_of_a_new_frame "$SHOT" "$WORK/shot$((shot - 1)).png"
    check "$label: bars are black in screenshot $shot" all_black "$bars"
  done
  SHOT=$WORK/shot1.png
  check "$label: composition of a 640x480 frame (its banner)" \
    banner_comes_out_as_designed "${aw}x$ah+$ax+$ay"
  check "$label: sky at the top of the area" sky "${aw}x$((ah / 5))+$ax+$ay"
  check "$label: snow at the bottom of the area" snow "${aw}x$((ah / 12))+$ax+$((ay + ah - ah / 12))"
  # Xwayland emulates a mode switch for the client that asked only, so no
  # other client can see one; but a switch is always watched by a guard
  # process of the program's own, and there must be none.
  check "$label: no display switch (no guard process)" no_helpers "$APP_PID"
  case $ending in
    escape) sway_key Escape ;;
    close) sway_close "$APP_PID" ;;
    term) kill -TERM "$APP_PID" ;;
  esac
  wait_pid_exit "$APP_PID" 20
  check "$label: $ending ends the program with status 0" equals "$?" 0
  check "$label: nothing on the terminal" nothing_on_terminal
}

# 16:9: a 1440x1080 area with 240-pixel bars left and right.
wide_area="1440 1080 240 0"
wide_bars="240x1080+0+0 240x1080+1680+0"
# 5:4: a 1280x960 area with 32-pixel bars above and below.
tall_area="1280 960 0 32"
tall_bars="1280x32+0+0 1280x32+0+992"

run_case "native 16:9" native 1920x1080 "$wide_area" "$wide_bars" escape
run_case "Xwayland 16:9" xwayland 1920x1080 "$wide_area" "$wide_bars" escape
# SDL takes its decorations from libdecor where the compositor draws none
# (GNOME's mutter); asked to here, it must not bring libdecor's lines.
run_case "native 5:4" native 1280x1024 "$tall_area" "$tall_bars" close \
  SDL_VIDEO_WAYLAND_PREFER_LIBDECOR=1
run_case "Xwayland 5:4" xwayland 1280x1024 "$tall_area" "$tall_bars" term
run_case "DISPLAY refuses, native 16:9" refused 1920x1080 "$wide_area" "$wide_bars" escape

# The saver on the layers of a sway with two outputs of different sizes:
# a layer-shell surface on each, the design in proportion at its pixels.
SAVER=${WINTERHAIN_BUILD_DIR:-$PWD/build}/winterhain-saver
start_saver() { # start_saver ARG...
  APP_ERR=$(mktemp)
  e2e_on_exit rm -f "$APP_ERR"
  env "$E2E_RUN_MARK" "$SAVER" "$@" 2>"$APP_ERR" &
  APP_PID=$!
  e2e_on_exit e2e_kill "$APP_PID"
}
# OUTPUT shows the scene in AREA ("W H X Y"), its edges lit, sky at the
# top, snow at the bottom, and BARS black.
output_shows_scene() { # output_shows_scene OUTPUT AREA BARS
  local aw ah ax ay edge
  read -r aw ah ax ay <<<"$2"
  SHOT=$WORK/$1.png
  sway_screenshot "$SHOT" "$1" || return 1
  for edge in $(edges "$aw" "$ah" "$ax" "$ay"); do lit "$edge" || return 1; done
  all_black "$3" >/dev/null && sky "${aw}x$((ah / 5))+$ax+$ay" >/dev/null &&
    snow "${aw}x$((ah / 12))+$ax+$((ay + ah - ah / 12))" >/dev/null
}
shows_scene_soon() { e2e_wait_until 20 output_shows_scene "$@"; }
# The banner of three frames on OUTPUT as in a 640x480 frame of the design.
composed_as_designed() { # composed_as_designed OUTPUT "W H X Y"
  local aw ah ax ay
  read -r aw ah ax ay <<<"$2"
  SHOT_OUTPUT=$1
  sway_screenshot "$WORK/shot1.png" "$1" &&
    shot_of_a_new_frame "$WORK/shot2.png" "$WORK/shot1.png" &&
    shot_of_a_new_frame "$WORK/shot3.png" "$WORK/shot2.png" &&
    banner_comes_out_as_designed "${aw}x$ah+$ax+$ay"
}
# 16:9 on HEADLESS-1 (as above); 5:4 on HEADLESS-2; an added 1280x720: a
# 960x720 area with 160-pixel bars left and right.
added_area="960 720 160 0"
added_bars="160x720+0+0 160x720+1120+0"

# Two outputs, the second focused: the scene goes where the focus is, in
# proportion there, and Escape reaches it.
sway_start 1920x1080 1280x1024 || exit 1
swaymsg -q focus output HEADLESS-2
start_program SDL_VIDEODRIVER=wayland DISPLAY="$SWAY_X_DISPLAY"
check "native, HEADLESS-2 focused: fullscreen on HEADLESS-2" \
  sway_window "$APP_PID" 1280x1024+1920+0 30
check "native, HEADLESS-2 focused: the scene in proportion there" \
  shows_scene_soon HEADLESS-2 "$tall_area" "$tall_bars"
sway_key Escape
wait_pid_exit "$APP_PID" 20
check "native, HEADLESS-2 focused: Escape ends the program with status 0" equals "$?" 0
check "native, HEADLESS-2 focused: nothing on the terminal" nothing_on_terminal

# Scale 2, started as a user starts it (no driver asked for): the scene at
# the output's 1920x1080 pixels.
SWAY_SCALE=2 sway_start 1920x1080 || exit 1
start_program DISPLAY="$SWAY_X_DISPLAY"
check "scale 2, default path: window is fullscreen, covering the output" \
  sway_window "$APP_PID" 960x540 30
check "scale 2, default path: the scene in proportion" \
  shows_scene_soon HEADLESS-1 "$wide_area" "$wide_bars"
check "scale 2, default path: the sky drawn at full resolution" full_resolution 1440x540+240+0
sway_key Escape
wait_pid_exit "$APP_PID" 20
check "scale 2, default path: Escape ends the program with status 0" equals "$?" 0
check "scale 2, default path: nothing on the terminal" nothing_on_terminal

sway_start 1920x1080 1280x1024 || exit 1
start_saver --background
check "background: the scene on HEADLESS-1, bars black" shows_scene_soon HEADLESS-1 "$wide_area" "$wide_bars"
check "background: the scene on HEADLESS-2, bars black" shows_scene_soon HEADLESS-2 "$tall_area" "$tall_bars"
check "background: HEADLESS-1 composed as a 640x480 frame" composed_as_designed HEADLESS-1 "$wide_area"
check "background: HEADLESS-2 composed as a 640x480 frame" composed_as_designed HEADLESS-2 "$tall_area"
swaymsg -q create_output && swaymsg -q output HEADLESS-3 mode 1280x720
check "background: an output added gets the scene in proportion" shows_scene_soon HEADLESS-3 "$added_area" "$added_bars"
# A fullscreen window covers HEADLESS-1: no frame is due there, and the
# other outputs must not wait for one.
SAVER_PID=$APP_PID SAVER_ERR=$APP_ERR
swaymsg -q focus output HEADLESS-1
start_program SDL_VIDEODRIVER=wayland
check "background: a fullscreen window covers HEADLESS-1" sway_window "$APP_PID" 1920x1080 30
SHOT_OUTPUT=HEADLESS-2
sway_screenshot "$WORK/shot1.png" HEADLESS-2
check "background: HEADLESS-1 covered, HEADLESS-2 still gets new frames" \
  shot_of_a_new_frame "$WORK/shot2.png" "$WORK/shot1.png"
kill -TERM "$APP_PID"
APP_PID=$SAVER_PID APP_ERR=$SAVER_ERR
check "background: SIGTERM ends it, killed by the signal" killed_by_sigterm "$APP_PID"
check "background: nothing on the terminal" nothing_on_terminal

sway_start 1920x1080 1280x1024 || exit 1
start_saver --overlay
check "overlay: the scene in proportion on HEADLESS-1" shows_scene_soon HEADLESS-1 "$wide_area" "$wide_bars"
check "overlay: the scene in proportion on HEADLESS-2" shows_scene_soon HEADLESS-2 "$tall_area" "$tall_bars"
sway_key a
wait_pid_exit "$APP_PID" 10
check "overlay: a key ends it with status 0" equals "$?" 0
check "overlay: nothing on the terminal" nothing_on_terminal
# The longest --delay, 10 s after each frame: SIGTERM during that rest ends
# it at once, not when the rest is over.
start_saver --background --delay 10000000
check "background, --delay 10000000: the scene on HEADLESS-1" shows_scene_soon HEADLESS-1 "$wide_area" "$wide_bars"
kill -TERM "$APP_PID"
wait_pid_exit "$APP_PID" 5
check "background, --delay 10000000: SIGTERM in the rest ends it, killed by the signal" equals "$?" 143

# An output that goes while it runs, on a sway nested in the headless one
# (outputs WL-1 and WL-2, each a window covering HEADLESS-1 and -2): WL-2
# unplugged, its surface goes and the saver goes on drawing on WL-1 (an
# output added is the headless rows' above: nested, a new output at times
# held the nested sway up under load).
sway_start 1920x1080 1280x1024 || exit 1
sway_nest || exit 1
start_saver --background
check "background, output unplugged: the scene on WL-1 first" shows_scene_soon WL-1 "$wide_area" "$wide_bars"
check "background, output unplugged: the scene on WL-2 first" shows_scene_soon WL-2 "$tall_area" "$tall_bars"
check "background, output unplugged: WL-2 is gone" sway_unplug WL-2
SHOT_OUTPUT=WL-1
sway_screenshot "$WORK/shot1.png" WL-1
check "background, output unplugged: WL-1 still gets new frames" \
  shot_of_a_new_frame "$WORK/shot2.png" "$WORK/shot1.png"
check "background, output unplugged: SIGTERM ends it, killed by the signal" killed_by_sigterm "$APP_PID"
check "background, output unplugged: nothing on the terminal" nothing_on_terminal

# The compositor ends under it: its surfaces go with the connection, and
# the saver says so and ends with status 1, as when an X server goes.
sway_start 1920x1080 1280x1024 || exit 1
start_saver --background
check "background, sway ends: the scene first" shows_scene_soon HEADLESS-1 "$wide_area" "$wide_bars"
sway_stop
wait_pid_exit "$APP_PID" 10
check "background, sway ends: it ends with status 1" equals "$?" 1
check "background, sway ends: says so in one line" \
  equals "$(cat "$APP_ERR")" "winterhain: lost the connection to the Wayland compositor"
e2e_finish
