#!/usr/bin/env bash
# winterhain-saver as a screensaver: a real XScreenSaver 6 on a private
# Xvfb (16:9) runs it full screen and ends it; a window of another client,
# as a preview pane is, takes it and is resized; the root window; its own
# window. In every form the scene keeps its 4:3 shape with black bars, and
# every way out ends it with status 0 and leaves nothing behind.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/xscreensaver.sh"

for tool in Xvfb xscreensaver xscreensaver-command setpriv; do
  command -v "$tool" >/dev/null || { echo "SKIP - $tool is not installed (scripts/deps installs it)"; exit 77; }
done
SAVER=${WINTERHAIN_BUILD_DIR:-$PWD/build}/winterhain-saver
SOURCE=${WINTERHAIN_SOURCE_DIR:-$PWD}
WORK=$(mktemp -d)
e2e_on_exit rm -rf "$WORK"
chmod 755 "$WORK"
SHOT=$WORK/shot.png

# Channel values 0-255 of a region WxH+X+Y (from the top left) of $SHOT.
channels() { # channels STAT GEOMETRY   (STAT: maxima or mean)
  convert "$SHOT" -crop "$2" +repage \
    -format "%[fx:round($1.r*255)] %[fx:round($1.g*255)] %[fx:round($1.b*255)]" info:
}
black() { [ "$(channels maxima "$1")" = "0 0 0" ]; }
lit() { channels mean "$1" | awk '{ exit !($1 + $2 + $3 > 30) }'; }
sky() { channels mean "$1" | awk '{ exit !($3 > $1 + 60) }'; }

# The scene fills the design area "W H X Y" (every edge of it lit, sky at
# its top) and each bar (WxH+X+Y) is black, in a picture of WINDOW.
letterboxed() { # letterboxed WINDOW AREA BARS
  local aw ah ax ay bar edge
  read -r aw ah ax ay <<<"$2"
  screenshot "$SHOT" "$1" 2>/dev/null || return 1
  for edge in "1x$ah+$ax+$ay" "1x$ah+$((ax + aw - 1))+$ay" "${aw}x1+$ax+$ay" \
    "${aw}x1+$ax+$((ay + ah - 1))"; do lit "$edge" || return 1; done
  sky "${aw}x$((ah / 5))+$ax+$ay" || return 1
  for bar in $3; do black "$bar" || return 1; done
}
# The same, trying for up to 20 s: the first frames come a while after start.
shows_letterboxed() {
  e2e_wait_until 20 letterboxed "$@" || { echo "     last picture: $(identify "$SHOT" 2>&1 | cut -d' ' -f3)" \
    "area mean $(channels mean "$(awk '{ print $1 "x" $2 "+" $3 "+" $4 }' <<<"$2")")"; return 1; }
}
root_has_no_xdnd() { ! xprop -root XdndAware 2>/dev/null | grep -q ' = '; }
nothing_left() { e2e_wait_until 3 test -z "$(live_run_processes)"; }

# Runs the saver in the background from the source folder (it reads Data/
# there), marked; sets APP_PID. Arguments: the saver's own.
start_saver() {
  (cd "$SOURCE" && exec env "$E2E_RUN_MARK" "$SAVER" "$@") 2>>"$WORK/stderr" &
  APP_PID=$!
  e2e_on_exit e2e_kill "$APP_PID"
}
ends_with_0() { # ends_with_0 PID
  wait_pid_exit "$1" 10
  equals "$?" 0
}

xvfb_start 1280x720 || exit 1
# 16:9: a 960x720 area with 160-pixel bars left and right.
wide_area="960 720 160 0"
wide_bars="160x720+0+0 160x720+1120+0"

# --- XScreenSaver -------------------------------------------------------
# The hack line runs a wrapper that starts the saver as its child, passes
# XScreenSaver's SIGTERM on and records the saver's exit status. XScreenSaver
# runs it in an environment of its own: the run's sanitizer settings are
# passed on.
mkdir "$WORK/xss" && chmod 777 "$WORK/xss"
cat >"$WORK/xss/hack" <<HACK
#!/bin/sh
cd "$SOURCE" || exit 1
trap 'kill -TERM \$pid' TERM
env "$E2E_RUN_MARK" ASAN_OPTIONS="${ASAN_OPTIONS:-}" "$SAVER" "\$@" 2>"$WORK/xss/stderr" &
pid=\$!
wait \$pid; status=\$?
while kill -0 \$pid 2>/dev/null; do wait \$pid; status=\$?; done
echo \$status >"$WORK/xss/status"
HACK
chmod 755 "$WORK/xss/hack"
xss_start "$WORK/xss/hack --root" || exit 1
xss_command -activate
check "XScreenSaver: the scene in 4:3 with black bars, full screen" \
  shows_letterboxed root "$wide_area" "$wide_bars"
deactivated=$(_e2e_now_ms)
xss_command -deactivate
ended_within() { # ended_within MS: the status is there MS after deactivation
  until [ -s "$WORK/xss/status" ]; do
    [ "$(_e2e_now_ms)" -lt $((deactivated + $1)) ] || return 1
    sleep 0.02
  done
}
check "XScreenSaver: deactivated, the saver has ended within 1 s" ended_within 1000
check "XScreenSaver: exit status 0" equals "$(cat "$WORK/xss/status" 2>/dev/null)" 0
check "XScreenSaver: nothing on stderr" test ! -s "$WORK/xss/stderr" || head -n 3 "$WORK/xss/stderr"
check "XScreenSaver: no process of the saver left" nothing_left

# --- a preview pane: another client's window, resized --------------------
host_tool=$(e2e_tool host_window) || exit 1
"$host_tool" 400 200 >"$WORK/host" &
host_pid=$!
e2e_on_exit e2e_kill "$host_pid"
e2e_wait_until 10 test -s "$WORK/host"
host=$(cat "$WORK/host")
start_saver --window-id "$host"
# 400x200: a 266x200 area, bars of 67 left and right.
check "preview 400x200: 266x200 in the middle, bars at the sides" \
  shows_letterboxed "$host" "266 200 67 0" "67x200+0+0 67x200+333+0"
xdotool windowsize "$host" 300 400
# 300x400: a 300x225 area, 87 rows of bar below it (OpenGL counts from the
# bottom), 88 above.
check "preview resized to 300x400: 300x225 in the middle, bars above and below" \
  shows_letterboxed "$host" "300 225 0 88" "300x88+0+0 300x87+0+313"
e2e_kill "$host_pid"
check "preview: the window destroyed, the saver ends with status 0" ends_with_0 "$APP_PID"

# --- the root window; its output closed ----------------------------------
# Its standard output is a pipe; the reader goes once the scene is seen.
mkfifo "$WORK/out"
cat "$WORK/out" >/dev/null &
reader_pid=$!
e2e_on_exit e2e_kill "$reader_pid"
start_saver --root >"$WORK/out"
check "--root: the scene in 4:3 with bars" shows_letterboxed root "$wide_area" "$wide_bars"
e2e_kill "$reader_pid"
check "--root: its output closed, it ends with status 0" ends_with_0 "$APP_PID"
check "--root: no XdndAware left on the root window" root_has_no_xdnd

# --- a window of its own ---------------------------------------------------
for ending in Escape close; do
  start_saver
  window=$(wait_for_window Winterhain 20)
  check "own window ($ending run): shown, titled Winterhain, with the scene" \
    shows_letterboxed "$window" "640 480 0 0" ""
  if [ "$ending" = Escape ]; then send_key "$window" Escape; else send_wm_close "$window"; fi
  check "own window: $ending ends it with status 0" ends_with_0 "$APP_PID"
done
check "nothing on stderr" test ! -s "$WORK/stderr" || head -n 3 "$WORK/stderr"
check "no process left" nothing_left
e2e_finish
