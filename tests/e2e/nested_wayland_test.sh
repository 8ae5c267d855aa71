#!/usr/bin/env bash
# On the Wayland desktops that run nested in an Xvfb, every launch covers
# the 1920x1080 output: the 4:3 design fills the centred 1440x1080 area,
# sky at its top, with black bars of 240 pixels left and right. A window
# that keeps a size it had before the compositor made it fullscreen shows
# up as a 640x480 picture in a corner, and one the compositor never lets
# draw shows only the desktop's background, so each row launches the
# program several times.
#   KDE Plasma's KWin 5.27, natively (SDL's wayland driver), ended by SIGTERM;
#   KWin with its output at scale 2, launched once on the default path
#   (native there), drawn at the output's device pixels, ended by Escape;
#   GNOME's mutter 43, on the default path (Xwayland), ended by Escape.
# Each compositor's rows run in a subshell of their own: one that cannot
# run here is skipped (status 77) without skipping the others.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/kwin.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/mutter.sh"

SHOT=
COMPOSITOR=

# The design area 1440x1080+240+0: each of its outermost rows and columns
# shows the scene (its channels' mean sum is above 30 of 765), its top
# fifth is sky (blue well above red), and the bars beside it are black (no
# channel above 0). One screenshot, read once.
AREA_EDGES="1x1080+240+0 1x1080+1679+0 1440x1+240+0 1440x1+240+1079"
SKY="1440x216+240+0"
BARS="240x1080+0+0 240x1080+1680+0"
covers_output() {
  local region readings reads=()
  "${COMPOSITOR}_screenshot" "$SHOT" || return 1
  for region in $AREA_EDGES; do
    reads+=(\( mpr:shot -crop "$region" +repage
      -format '%[fx:(mean.r + mean.g + mean.b) * 255 > 30] ' -write info:- +delete \))
  done
  reads+=(\( mpr:shot -crop "$SKY" +repage
    -format '%[fx:(mean.b - mean.r) * 255 > 60] ' -write info:- +delete \))
  for region in $BARS; do
    reads+=(\( mpr:shot -crop "$region" +repage
      -format '%[fx:max(maxima.r, max(maxima.g, maxima.b)) == 0] ' -write info:- +delete \))
  done
  readings=$(convert "$SHOT" -write mpr:shot +delete "${reads[@]}" null: 2>/dev/null)
  [ "$readings" = "1 1 1 1 1 1 1 " ]
}

# Where the picture is, for the failure message: the box around all that
# is not black.
picture_box() { convert "$SHOT" -bordercolor black -border 1 -format '%@' info:; }

# Polls for up to TIMEOUT seconds: the first frames may come before the
# window has its full size.
fills_output_within() { # fills_output_within TIMEOUT
  local deadline=$(($(_e2e_now_ms) + $1 * 1000))
  until covers_output; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "     the picture is at $(picture_box) (1-pixel border included)"
      return 1
    fi
  done
}

# A compositor started for the test takes long over the first window it
# shows from its Xwayland: on a loaded machine the program's first launch
# on a fresh mutter showed the scene after 15 to 30 s, the later ones (and
# a first one after another X client's window) within a few seconds. A
# window that is never drawn still fails, after this deadline.
FIRST_FRAME_DEADLINE=60

# The screenshots go to a folder of the rows' own.
use_shot_folder() {
  local work
  work=$(mktemp -d)
  e2e_on_exit rm -rf "$work"
  SHOT=$work/shot.ppm
}

# ends_with LABEL ENDING: ENDING (term or escape) ends the program with
# status 0; what it wrote on stderr is shown.
ends_with() {
  case $2 in
    term) kill -TERM "$APP_PID" ;;
    escape) "${COMPOSITOR}_key" Escape ;;
  esac
  wait_pid_exit "$APP_PID" 10
  check "$1: $2 ends it with status 0" equals "$?" 0
  [ -s "$APP_ERR" ] && sed 's/^/     stderr: /' "$APP_ERR" | head -n 5
}

# run_rows COMPOSITOR LAUNCHES ENDING [VAR=VALUE...]
#   COMPOSITOR: kwin or mutter (its harness's NAME_start, NAME_screenshot,
#   NAME_key); ENDING: term or escape; then the program's environment
#   (none: the default path, as a user starts it). Run in a subshell: it
#   ends it, after its own clean-up.
run_rows() {
  local launch
  COMPOSITOR=$1
  use_shot_folder
  "${COMPOSITOR}_start" 1920x1080 || exit 1
  for ((launch = 1; launch <= $2; launch++)); do
    start_program "${@:4}"
    check "$COMPOSITOR launch $launch: the scene fills the 1440x1080 area, bars black" \
      fills_output_within "$FIRST_FRAME_DEADLINE"
    ends_with "$COMPOSITOR launch $launch" "$3"
  done
  e2e_finish
}

# KWin's output at scale 2: 1920x1080 device pixels, a 960x540 desktop. The
# program is started as in a Plasma session, DISPLAY naming KWin's Xwayland
# and no driver asked for. Its Xwayland would have it draw 960x540 and
# KWin scale that up; it must draw at the 1920x1080 pixels. Run in a
# subshell, as run_rows.
run_scaled_kwin_row() {
  local label="kwin at scale 2, default path"
  COMPOSITOR=kwin
  use_shot_folder
  kwin_start 1920x1080 2 || exit 1
  start_program DISPLAY="$KWIN_XWAYLAND_DISPLAY"
  check "$label: the scene fills the 1440x1080 area, bars black" \
    fills_output_within "$FIRST_FRAME_DEADLINE"
  check "$label: the sky drawn at full resolution" full_resolution "$SKY"
  ends_with "$label" escape
  e2e_finish
}

# Failed if any compositor's rows failed (any status but 0 and 77);
# skipped if all were skipped.
statuses=()
(run_rows kwin 5 term SDL_VIDEODRIVER=wayland)
statuses+=($?)
(run_scaled_kwin_row)
statuses+=($?)
(run_rows mutter 4 escape)
statuses+=($?)
for status in "${statuses[@]}"; do
  [ "$status" = 0 ] || [ "$status" = 77 ] || exit 1
done
[[ " ${statuses[*]} " == *" 0 "* ]] || exit 77
