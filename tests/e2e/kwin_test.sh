#!/usr/bin/env bash
# On KDE Plasma's compositor (KWin 5.27) natively, every launch covers the
# 1920x1080 output: the 4:3 design fills the centred 1440x1080 area with
# black bars of 240 pixels left and right. A window that keeps a size it
# had before KWin made it fullscreen shows up as a 640x480 picture in a
# corner, so the program is launched several times.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/kwin.sh"

LAUNCHES=5
WORK=$(mktemp -d)
e2e_on_exit rm -rf "$WORK"
SHOT=$WORK/shot.ppm

# The design area 1440x1080+240+0: each of its outermost rows and columns
# shows the scene (its channels' mean sum is above 30 of 765), and the bars
# beside it are black (no channel above 0). One screenshot, read once.
AREA_EDGES="1x1080+240+0 1x1080+1679+0 1440x1+240+0 1440x1+240+1079"
BARS="240x1080+0+0 240x1080+1680+0"
covers_output() {
  local region readings reads=()
  kwin_screenshot "$SHOT" || return 1
  for region in $AREA_EDGES; do
    reads+=(\( mpr:shot -crop "$region" +repage
      -format '%[fx:(mean.r + mean.g + mean.b) * 255 > 30] ' -write info:- +delete \))
  done
  for region in $BARS; do
    reads+=(\( mpr:shot -crop "$region" +repage
      -format '%[fx:max(maxima.r, max(maxima.g, maxima.b)) == 0] ' -write info:- +delete \))
  done
  readings=$(convert "$SHOT" -write mpr:shot +delete "${reads[@]}" null: 2>/dev/null)
  [ "$readings" = "1 1 1 1 1 1 " ]
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

kwin_start 1920x1080 || exit 1
for ((launch = 1; launch <= LAUNCHES; launch++)); do
  start_program SDL_VIDEODRIVER=wayland
  check "launch $launch: the scene fills the 1440x1080 area, bars black" fills_output_within 20
  kill -TERM "$APP_PID"
  wait_pid_exit "$APP_PID" 10
  check "launch $launch: SIGTERM ends it with status 0" equals "$?" 0
  [ -s "$APP_ERR" ] && sed 's/^/     stderr: /' "$APP_ERR" | head -n 5
done
e2e_finish
