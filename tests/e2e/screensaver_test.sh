#!/usr/bin/env bash
# winterhain-saver as a screensaver: a real XScreenSaver 6 on a private
# Xvfb (16:9) runs it full screen and ends it; a window of another client,
# as a preview pane is, takes it and is resized; the root window; its own
# window; the options of its XScreenSaver description; a session bus of the
# test's own, on which it must never keep the screen awake (the program
# must, in its own name); every screen of a two-screen server. In every
# form the scene keeps its 4:3 shape with black bars, and every way out
# ends it as a hack ends (SIGTERM kills it, after its clean-up; otherwise
# status 0) and leaves nothing behind.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/xscreensaver.sh"

for tool in Xvfb xscreensaver xscreensaver-command setpriv dbus-daemon dbus-monitor dbus-send; do
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
# The same, trying for up to 60 s: the first frames come a while after
# start (under XScreenSaver on two screens, with a sanitizer build on a
# loaded machine, screen 0 was still blank after 20 s).
shows_letterboxed() {
  e2e_wait_until 60 letterboxed "$@" || { echo "     last picture: $(identify "$SHOT" 2>&1 | cut -d' ' -f3)" \
    "area mean $(channels mean "$(awk '{ print $1 "x" $2 "+" $3 "+" $4 }' <<<"$2")")"; return 1; }
}
root_has_no_xdnd() { ! xprop -root XdndAware 2>/dev/null | grep -q ' = '; }
nothing_left() {
  e2e_wait_until 10 test -z "$(live_run_processes)" && return 0
  local pid
  for pid in $(live_run_processes); do echo "     left: $pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"; done
  return 1
}

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
# Sends SIGTERM to PID and waits for it: killed by it (status 128 + 15).
killed_by_sigterm() { # killed_by_sigterm PID
  kill -TERM "$1"
  wait_pid_exit "$1" 10
  equals "$?" 143
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
xss_command -deactivate
# Only that it ends, not how soon: a timing is no test's to check (on a
# loaded machine an ASan build took over a second).
status_written() { test -s "$WORK/xss/status"; }
check "XScreenSaver: deactivated, the saver ends" e2e_wait_until 20 status_written
check "XScreenSaver: SIGTERM ends it as a hack ends, killed by the signal (status 143)" \
  equals "$(cat "$WORK/xss/status" 2>/dev/null)" 143
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

# --- the options its XScreenSaver description offers ----------------------
# The command line XScreenSaver's settings make from the description: its
# command, the slider's argument at 1 s between frames, the frame rate
# shown. Each takes effect: a rest of 1 s allows at most one new picture
# per second (a rest not taken gives one every 50 ms or so), and the rate
# is a white text on a black box in the bottom left corner of the scene.
xml=$SOURCE/packaging/winterhain-saver.xml
xml_attribute() { sed -n "s/.* $1=\"\([^\"]*\)\".*/\1/p"; } # NAME="VALUE" on the lines read
xml_args=("$(grep '<command ' "$xml" | xml_attribute arg)")
read -r -a delay_arg <<<"$(grep -A1 'id="delay"' "$xml" | xml_attribute arg | sed 's/%/1000000/')"
read -r -a fps_arg <<<"$(grep 'id="showfps"' "$xml" | xml_attribute arg-set)"
check "description: its command, a slider for the delay and a box for the frame rate" \
  equals "${xml_args[*]} ${delay_arg[*]} ${fps_arg[*]}" "--root --delay 1000000 --fps"
# In the 960x720 area from x=160, 8 rows above the bottom: the box's top
# padding (black) and the text below it.
fps_box() { black 80x1+172+691 && [ "$(channels maxima 80x14+172+694)" = "255 255 255" ]; }
shows_fps_box() { screenshot "$SHOT" root 2>/dev/null && fps_box; }
no_fps_box() { ! fps_box; }
check "without --fps (the picture above): no frame rate box" no_fps_box
start_saver "${xml_args[@]}" "${delay_arg[@]}" "${fps_arg[@]}"
check "description's options: the scene in 4:3 with bars" shows_letterboxed root "$wide_area" "$wide_bars"
check "--fps: the frame rate, white on black, in the corner" e2e_wait_until 10 shows_fps_box
# New pictures of the scene area over at least 3 s and 8 screenshots.
pictures_changed() {
  local start now shots=0 changes=0 last='' sum
  start=$(_e2e_now_ms)
  while now=$(_e2e_now_ms) && { [ $((now - start)) -lt 3000 ] || [ "$shots" -lt 8 ]; }; do
    sum=$(import -window root -crop 960x690+160+0 rgb:- 2>/dev/null | md5sum)
    shots=$((shots + 1))
    [ -n "$last" ] && [ "$sum" != "$last" ] && changes=$((changes + 1))
    last=$sum
  done
  now=$(_e2e_now_ms)
  echo "$changes $(((now - start) / 1000 + 1))"
}
read -r changes most <<<"$(pictures_changed)"
check "--delay 1000000: at most one new picture a second ($changes in under $most s), and some" \
  test "$changes" -ge 1 -a "$changes" -le "$most"
check "description's options: SIGTERM ends it, killed by the signal" killed_by_sigterm "$APP_PID"
# The longest --delay, 10 s after each frame: SIGTERM during that rest ends
# it at once, not when the rest is over.
start_saver --root --delay 10000000
check "--delay 10000000: the scene in 4:3 with bars" shows_letterboxed root "$wide_area" "$wide_bars"
kill -TERM "$APP_PID"
wait_pid_exit "$APP_PID" 5
check "--delay 10000000: SIGTERM in the rest ends it, killed by the signal" equals "$?" 143
# Held for good inside a buffer swap (a driver waiting for a display server
# that no longer answers): SIGTERM still ends it, killed by the signal, a
# few seconds later. A sanitizer build lets the preloaded library go first.
cc -O2 -shared -fPIC -o "$WORK/swap_hang.so" "$E2E_DIR/swap_hang.c" -ldl || exit 1
LD_PRELOAD=$WORK/swap_hang.so SWAP_HANG_MARK=$WORK/swap-held \
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 start_saver --root
check "held inside a swap: it got there" e2e_wait_until 60 test -e "$WORK/swap-held"
check "held inside a swap: SIGTERM ends it, killed by the signal" killed_by_sigterm "$APP_PID"

# --- a session bus of the test's own ---------------------------------------
# Everything said to org.freedesktop.ScreenSaver on it is recorded; a call
# of the test's own first shows that the recording runs.
bus_log=$WORK/bus.log
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:path=$WORK/bus")
bus_pid=$(sed -n 2p <<<"$bus")
e2e_on_exit e2e_kill "$bus_pid"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 <<<"$bus")
export DBUS_SESSION_BUS_ADDRESS
dbus-monitor --session "interface='org.freedesktop.ScreenSaver'" >"$bus_log" 2>&1 &
e2e_on_exit e2e_kill "$!"
probe_bus() {
  dbus-send --session --type=method_call --dest=org.freedesktop.ScreenSaver \
    /org/freedesktop/ScreenSaver org.freedesktop.ScreenSaver.GetActive 2>/dev/null
  grep -q 'member=GetActive' "$bus_log"
}
check "session bus: recorded" e2e_wait_until 10 probe_bus
start_saver --root
check "session bus: the saver shows the scene" shows_letterboxed root "$wide_area" "$wide_bars"
check "session bus: SIGTERM ends the saver" killed_by_sigterm "$APP_PID"
keeps_awake() { grep -E 'member=(Inhibit|SimulateUserActivity)$' "$bus_log"; }
check "session bus: the saver asked for no inhibit and simulated no activity" \
  test -z "$(keeps_awake)"
# The program, full screen, keeps the screen awake, saying who and why.
start_program_in "$SOURCE"
inhibit_call() { grep -A2 'member=Inhibit$' "$bus_log" | sed -n 's/^ *string //p' | paste -sd ' '; }
inhibited() { [ -n "$(inhibit_call)" ]; }
e2e_wait_until 20 inhibited
check "session bus: the program inhibits as \"Winterhain\", showing a fullscreen animation" \
  equals "$(inhibit_call)" '"Winterhain" "Showing a fullscreen animation"'
kill -TERM "$APP_PID"
check "session bus: SIGTERM ends the program with status 0" ends_with_0 "$APP_PID"
unset DBUS_SESSION_BUS_ADDRESS

# --- a window of its own ---------------------------------------------------
for ending in Escape close; do
  start_saver
  window=$(wait_for_window Winterhain 20)
  check "own window ($ending run): shown, titled Winterhain, with the scene" \
    shows_letterboxed "$window" "640 480 0 0" ""
  if [ "$ending" = Escape ]; then send_key "$window" Escape; else send_wm_close "$window"; fi
  check "own window: $ending ends it with status 0" ends_with_0 "$APP_PID"
done

# --- the X desktop, under a window manager ----------------------------------
# --background makes a desktop window over the screen, which openbox keeps
# below every other window: a plain (black) window mapped before it stays
# visible above it. Escape does not end it; SIGTERM does.
# The plain window is mapped (and placed) before openbox starts, which then
# takes it over as it finds it: a window whose map request came while openbox was
# still starting was at times never mapped.
"$host_tool" 480 360 >"$WORK/host-normal" &
e2e_on_exit e2e_kill "$!"
check "desktop: a plain window is mapped first" e2e_wait_until 30 grep -q '^0x' "$WORK/host-normal"
normal=$(cat "$WORK/host-normal")
# Inside the scene's area, clear of its edges, its sky and its bars, which
# the check of the scene below reads.
xdotool windowmove "$normal" 400 200
openbox --sm-disable >/dev/null 2>&1 &
e2e_on_exit e2e_kill "$!"
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
check "desktop: openbox runs" e2e_wait_until 10 wm_running
start_saver --background
desktop=$(wait_for_window Winterhain 20)
check "desktop: the window is typed as the desktop" \
  bash -c "xprop -id '$desktop' _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DESKTOP"
check "desktop: the scene over the screen, in proportion" shows_letterboxed root "$wide_area" "$wide_bars"
# Where the plain window is, the screen shows its black, not the scene.
normal_window_shown() {
  local x y w h
  read -r x y w h <<<"$(window_geometry "$normal")" || return 1
  screenshot "$SHOT" root 2>/dev/null && black "${w}x$h+$x+$y"
}
# Within 10 s; else says what the window's place showed, and the stacking.
normal_window_above() {
  e2e_wait_until 10 normal_window_shown && return 0
  echo "     the plain window $normal at $(window_geometry "$normal") shows" \
    "$(read -r x y w h <<<"$(window_geometry "$normal")"; channels maxima "${w}x$h+$x+$y") at most"
  echo "     stacking, bottom first: $(xprop -root _NET_CLIENT_LIST_STACKING | cut -d'#' -f2)"
  return 1
}
send_key "$desktop" Escape
check "desktop: the plain window stays visible above it" normal_window_above
check "desktop: Escape did not end it; SIGTERM ends it, killed by the signal" \
  killed_by_sigterm "$APP_PID"

# --- every screen of a two-screen server -----------------------------------
# XScreenSaver runs a hack on each screen with DISPLAY naming that screen;
# each must draw there, on the screen's own visuals. Screen 1 is 4:3: the
# scene fills it.
_xss_stop
xvfb_start 1280x720 800x600 || exit 1
second=$DISPLAY.1
on_second() { DISPLAY=$second "$@"; } # a command run with screen 1 as its display
rm -f "$WORK/xss/status"
xss_start "$WORK/xss/hack --root" || exit 1
xss_command -activate
check "two screens, XScreenSaver: the scene on screen 0, in 4:3 with bars" \
  shows_letterboxed root "$wide_area" "$wide_bars"
check "two screens, XScreenSaver: the scene on screen 1, filling it" \
  on_second shows_letterboxed root "800 600 0 0" ""
xss_command -deactivate
_xss_stop
# Drawn by hand on screen 1: the root window, a window of another client,
# a window of its own, the program's window; screen 0 stays as it was
# (nothing of theirs there).
no_sky_on_screen0() { screenshot "$SHOT" root 2>/dev/null && ! sky 960x144+160+0; }
DISPLAY=$second start_saver --root
check "DISPLAY=:N.1 --root: the scene on screen 1" \
  on_second shows_letterboxed root "800 600 0 0" ""
check "DISPLAY=:N.1 --root: no scene on screen 0" no_sky_on_screen0
check "DISPLAY=:N.1 --root: SIGTERM ends it, killed by the signal" killed_by_sigterm "$APP_PID"
# A window of screen 1 handed over while DISPLAY names screen 0: the
# window's own screen is drawn on. 400x300 is 4:3: the scene fills it.
DISPLAY=$second "$host_tool" 400 300 >"$WORK/host-second" &
e2e_on_exit e2e_kill "$!"
e2e_wait_until 10 test -s "$WORK/host-second"
start_saver --window-id "$(cat "$WORK/host-second")"
check "DISPLAY=:N, a window of screen 1 handed over: the scene in it" \
  on_second shows_letterboxed "$(cat "$WORK/host-second")" "400 300 0 0" ""
check "DISPLAY=:N, a window of screen 1 handed over: SIGTERM ends it" killed_by_sigterm "$APP_PID"
only_on_second() { # only_on_second NAME: a mapped window NAME on screen 1, none on screen 0
  on_second wait_for_window "$1" 20 >/dev/null && ! _find_window "$1" any >/dev/null
}
DISPLAY=$second start_saver
check "DISPLAY=:N.1, its own window: opened on screen 1" only_on_second Winterhain
check "DISPLAY=:N.1, its own window: SIGTERM ends it" killed_by_sigterm "$APP_PID"
DISPLAY=$second start_program_in "$SOURCE"
check "DISPLAY=:N.1, the program: its window on screen 1" only_on_second OpenGL
kill -TERM "$APP_PID"
check "DISPLAY=:N.1, the program: SIGTERM ends it with status 0" ends_with_0 "$APP_PID"

check "nothing on stderr" test ! -s "$WORK/stderr" || head -n 3 "$WORK/stderr"
check "no process left" nothing_left
e2e_finish
