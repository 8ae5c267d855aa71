#!/usr/bin/env bash
# The program switches the output its window shows on to 640 x 480, shows a
# borderless window titled "OpenGL" covering that output, and on Escape ends
# with status 0 and the desktop's mode back, and the windows the window
# manager moved meanwhile where they were; on every X set-up, one case per
# block below, each on a private dummy X server (the last on a private VNC
# server).
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

DEFAULT_CONF=$XSERVER_CONF
WORK=$(mktemp -d)
e2e_on_exit rm -rf "$WORK"

# Starts a fresh server on the configuration CONF (default: the usual one).
fresh_server() {
  xserver_stop
  XSERVER_CONF=${1:-$DEFAULT_CONF}
  xserver_start
}

# The mode OUTPUT shows, as WxH+X+Y ("" when it is off).
output_mode() {
  xrandr --current | sed -n "s/^$1 \(dis\)\{0,1\}connected \(primary \)\{0,1\}\([0-9]*x[0-9]*+[0-9]*+[0-9]*\).*/\3/p"
}

# Mean 0-255 value of CHANNEL (r, g or b) over GEOMETRY (WxH+X+Y) of FILE.
band_mean() {
  convert "$1" -crop "$2" +repage -format "%[fx:int(mean.$3*255)]" info:
}

# True when the 640x480 area at X,Y of the picture FILE shows the scene as
# designed: dark blue sky along the top, bright snow along the bottom. A
# scene drawn for a larger viewport shows ground at the top instead.
scene_fills() { # scene_fills FILE X Y
  local top_r top_b bottom_r
  top_r=$(band_mean "$1" "600x20+$(($2 + 20))+$(($3 + 5))" r)
  top_b=$(band_mean "$1" "600x20+$(($2 + 20))+$(($3 + 5))" b)
  bottom_r=$(band_mean "$1" "600x20+$(($2 + 20))+$(($3 + 455))" r)
  if [ "$top_b" -le 100 ] || [ "$top_r" -ge 60 ] || [ "$bottom_r" -le 120 ]; then
    echo "     top r=$top_r b=$top_b, bottom r=$bottom_r"
    return 1
  fi
}

# Takes pictures of WINDOW (or the screen) until the area at X,Y shows the
# scene as designed, for at most 10 s: the first frames may not be drawn yet.
shows_scene() { # shows_scene X Y [WINDOW]
  local deadline picture=$WORK/picture.png
  deadline=$(($(_e2e_now_ms) + 10000))
  until screenshot "$picture" "${3:-root}" && scene_fills "$picture" "$1" "$2" >/dev/null; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || { scene_fills "$picture" "$1" "$2"; return 1; }
    sleep 0.1
  done
}

# Ends the program PID with Escape on its WINDOW and checks that it ends
# with status 0.
check_escape_ends() { # check_escape_ends WINDOW PID
  local status=no-window
  if [ -n "$1" ] && send_key_focused "$1" Escape; then
    status=0
    wait_pid_exit "$2" 20 || status=$?
  fi
  check "Escape ends the program with status 0" equals "$status" 0
}

# Ends the program PID with SIGTERM and checks that it ends with status 0.
# Two instances are ended this way, one at a time: Escape is read from the
# keyboard whatever window has the focus, so it would end both at once.
check_term_ends() { # check_term_ends PID
  local status=0
  kill -TERM "$1"
  wait_pid_exit "$1" 20 || status=$?
  check "SIGTERM ends the program with status 0" equals "$status" 0
}

# The scene's window owned by process PID.
window_of() {
  local id
  for id in $(_list_windows OpenGL | awk '$2 == "app" { print $1 }'); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $1\$" && _window_viewable "$id" &&
      { echo "$id"; return 0; }
  done
  return 1
}

wait_window_of() { # wait_window_of PID TIMEOUT
  local deadline id
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$2")))
  until id=$(window_of "$1"); do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || { echo "     no window of $1" >&2; return 1; }
    sleep 0.05
  done
  echo "$id"
}

# RandR's time of the last configuration change: any switch, even one
# undone at once, moves it.
randr_timestamp() {
  xrandr --verbose --current | sed -n 's/^[[:space:]]*Timestamp:[[:space:]]*//p' | head -n 1
}

echo "# one monitor at the origin"
fresh_server || exit 1
check "desktop runs at 1280x1024" equals "$(xserver_mode)" 1280x1024
start_program
window=$(wait_for_window OpenGL 20)
check "window titled OpenGL appears" test -n "$window"
check "display switched to 640x480" equals "$(xserver_mode)" 640x480
check "window covers the screen at the top-left corner" \
  equals "$(window_geometry "$window")" "0 0 640 480"
check "window carries the program's icon" bash -c "xprop -id $window _NET_WM_ICON | grep -q '32 x 32'"
check_escape_ends "$window" "$APP_PID"
check "desktop mode is back" equals "$(xserver_mode)" 1280x1024
check "nothing on stderr" test ! -s "$APP_ERR" || cat "$APP_ERR"

echo "# two monitors, the primary one right of the other"
xrandr --addmode DUMMY1 1280x1024
xrandr --output DUMMY1 --mode 1280x1024 --left-of DUMMY0
check "primary output at +1280+0" equals "$(output_mode DUMMY0)" 1280x1024+1280+0
start_program
window=$(wait_for_window OpenGL 20)
check "primary output switched to 640x480 where it was" equals "$(output_mode DUMMY0)" 640x480+1280+0
check "other output left alone" equals "$(output_mode DUMMY1)" 1280x1024+0+0
check "window covers the switched output" equals "$(window_geometry "$window")" "1280 0 640 480"
check "the switched output shows sky on top, ground below" shows_scene 1280 0
check_escape_ends "$window" "$APP_PID"
check "primary output gets its mode back" equals "$(output_mode DUMMY0)" 1280x1024+1280+0
check "other output still as it was" equals "$(output_mode DUMMY1)" 1280x1024+0+0
xrandr --output DUMMY1 --off

# Each of the following ends with the desktop compared whole: the screen's
# size and every output in use, with the switched one in its mode and place.
ONE_MONITOR="1280x1024; DUMMY0 1280x1024+0+0*"

echo "# the screen shrunk under the scene (as remote-desktop clients do)"
check "the desktop is one monitor" equals "$(desktop_layout)" "$ONE_MONITOR"
start_program
window=$(wait_for_window OpenGL 20)
xrandr --fb 640x480
check_escape_ends "$window" "$APP_PID"
check "the screen is large enough again, the desktop as it was" \
  equals "$(desktop_layout)" "$ONE_MONITOR"
check "nothing on stderr" test ! -s "$APP_ERR" || cat "$APP_ERR"

echo "# a monitor plugged in during the scene, right of the switched one"
start_program
window=$(wait_for_window OpenGL 20)
xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0
check "the new monitor sits against the 640-wide one" equals "$(output_mode DUMMY1)" 1280x1024+640+0
check_escape_ends "$window" "$APP_PID"
check "the switched monitor back, the new one moved right by 640" \
  equals "$(desktop_layout)" "2560x1024; DUMMY0 1280x1024+0+0*; DUMMY1 1280x1024+1280+0"
xrandr --output DUMMY1 --off --fb 1280x1024

echo "# a neighbour moved left of the switched monitor during the scene"
start_program
window=$(wait_for_window OpenGL 20)
xrandr --output DUMMY1 --mode 1280x1024 --left-of DUMMY0
check "the neighbour sits left of the 640-wide one" equals "$(output_mode DUMMY0)" 640x480+1280+0
check_escape_ends "$window" "$APP_PID"
check "the switched monitor grows where it is, none stacked" \
  equals "$(desktop_layout)" "2560x1024; DUMMY0 1280x1024+1280+0*; DUMMY1 1280x1024+0+0"

echo "# the mirror case: the neighbour moved from the left to the right"
xrandr --fb 2560x1024 --output DUMMY1 --pos 0x0 --output DUMMY0 --pos 1280x0
start_program
window=$(wait_for_window OpenGL 20)
xrandr --output DUMMY1 --right-of DUMMY0
check "the switched monitor moved to the left edge" equals "$(output_mode DUMMY0)" 640x480+0+0
check_escape_ends "$window" "$APP_PID"
check "no column left that no monitor shows" \
  equals "$(desktop_layout)" "2560x1024; DUMMY0 1280x1024+0+0*; DUMMY1 1280x1024+1280+0"

echo "# a monitor turned on in the room beside the switched one"
xrandr --fb 2560x1024 --output DUMMY0 --pos 0x0 --output DUMMY1 --pos 1280x0
start_program
window=$(wait_for_window OpenGL 20)
xrandr --addmode DUMMY2 640x480
xrandr --output DUMMY2 --mode 640x480 --pos 640x0
check_escape_ends "$window" "$APP_PID"
check "the new monitor pushed right, and the one beyond it" \
  equals "$(desktop_layout)" "3200x1024; DUMMY0 1280x1024+0+0*; DUMMY1 1280x1024+1920+0; DUMMY2 640x480+1280+0"
xrandr --output DUMMY2 --off --output DUMMY1 --off --fb 1280x1024

echo "# the screen shrunk and a density set during the scene"
start_program
window=$(wait_for_window OpenGL 20)
xrandr --fb 640x480 --dpi 200
check_escape_ends "$window" "$APP_PID"
# xrandr rounds the density to whole millimetres: 81 x 60 mm for 640 x 480.
check "the screen grown back" equals "$(desktop_layout)" "$ONE_MONITOR"
check "at the density set" equals "$(xdpyinfo | sed -n 's/^ *resolution: *\([0-9x]*\) dots.*/\1/p')" 201x203
xrandr --dpi 96

# A desktop that already runs at the scene's size is left exactly so.
for screen in 640x480 1280x1024; do
  echo "# a desktop that really is 640x480, on a $screen screen"
  xrandr --fb "$screen" --output DUMMY0 --mode 640x480
  start_program
  window=$(wait_for_window OpenGL 20)
  check_escape_ends "$window" "$APP_PID"
  check "the desktop as it was" equals "$(desktop_layout)" "$screen; DUMMY0 640x480+0+0*"
  check "nothing on stderr" test ! -s "$APP_ERR" || cat "$APP_ERR"
done
xrandr --fb 1280x1024 --output DUMMY0 --mode 1280x1024

echo "# the primary output off, another one on (a closed laptop at a dock)"
# The dummy driver reports only DUMMY0 as connected, so DUMMY1 is the one
# made primary and left off.
xrandr --output DUMMY1 --primary
start_program
window=$(wait_for_window OpenGL 20)
check "the output in use switched" equals "$(output_mode DUMMY0)" 640x480+0+0
check "the window covers it" equals "$(window_geometry "$window")" "0 0 640 480"
check_escape_ends "$window" "$APP_PID"
check "the desktop as it was" equals "$(desktop_layout)" "1280x1024; DUMMY0 1280x1024+0+0"
xrandr --output DUMMY0 --primary

# Starts two instances, the second while the first runs, and ends them in
# the order given: the desktop's mode must be back after each end.
two_instances() { # two_instances first|second
  local first first_window second second_window
  start_program
  first=$APP_PID
  first_window=$(wait_window_of "$first" 20)
  start_program
  second=$APP_PID
  second_window=$(wait_window_of "$second" 20)
  check "both windows show" test -n "$first_window" -a -n "$second_window"
  local -a order=("$first" "$second") names=(first second)
  [ "$1" = second ] && order=("$second" "$first") names=(second first)
  check_term_ends "${order[0]}"
  check "desktop mode is back with the ${names[0]}'s end" equals "$(xserver_mode)" 1280x1024
  check_term_ends "${order[1]}"
  check "desktop mode is still back with the ${names[1]}'s end" equals "$(xserver_mode)" 1280x1024
}

echo "# two instances, the first one ended first"
two_instances first

echo "# two instances, the second one ended first"
two_instances second

echo "# SDL's offscreen driver left in the environment while the X display is there"
# It shows nothing and no key could reach it: the program refuses to start.
before=$(randr_timestamp)
start_program SDL_VIDEODRIVER=offscreen
wait_pid_exit "$APP_PID" 5
check "the program ends with status 1" equals "$?" 1
check "one 'cannot start' line" equals "$(grep -c '^winterhain: cannot start: ' "$APP_ERR")" 1
check "the X display's configuration never changed" equals "$(randr_timestamp)" "$before"

echo "# a GL driver that cannot be loaded"
start_program LIBGL_DRIVERS_PATH=/nonexistent
wait_pid_exit "$APP_PID" 20
check "the program ends with a status other than 0" test "$?" -ne 0
check "one 'cannot start' line" equals "$(grep -c '^winterhain: cannot start: ' "$APP_ERR")" 1
check "no raw X error" bash -c "! grep -q 'X Error' '$APP_ERR'" || cat "$APP_ERR"
check "desktop mode as before" equals "$(xserver_mode)" 1280x1024

echo "# the output switched off under the running scene"
start_program
window=$(wait_for_window OpenGL 20)
xrandr --output DUMMY0 --off
check "output is off" equals "$(output_mode DUMMY0)" ""
check_escape_ends "$window" "$APP_PID"
check "no raw X error" bash -c "! grep -q 'X Error' '$APP_ERR'" || cat "$APP_ERR"
check "one line says the output's mode was left" \
  equals "$(grep -c '^winterhain: display output DUMMY0 is off' "$APP_ERR")" 1

# Waits up to 10 s until no process of the run (program or guard) lives.
run_over() {
  local deadline=$(($(_e2e_now_ms) + 10000))
  until [ -z "$(live_run_processes)" ]; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

echo "# the output switched off, then the program killed: the guard tells the truth"
xrandr --output DUMMY0 --mode 1280x1024
start_program
wait_for_window OpenGL 20 >/dev/null
xrandr --output DUMMY0 --off
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
check "the guard ends" run_over
check "the guard says one thing: the output's mode was left" \
  equals "$(grep '^winterhain:' "$APP_ERR")" \
  "winterhain: display output DUMMY0 is off or gone; its mode is left as it is"
check "no raw X error" bash -c "! grep -q 'X Error' '$APP_ERR'" || cat "$APP_ERR"

echo "# stderr a pipe nobody reads, and a line to write there"
xrandr --output DUMMY0 --mode 1280x1024
mkfifo "$WORK/stderr"
exec 9<>"$WORK/stderr"
(exec env SDL_AUDIODRIVER=dummy "$E2E_RUN_MARK" "$WINTERHAIN_BIN") 2>"$WORK/stderr" 9<&- &
APP_PID=$!
e2e_on_exit e2e_kill "$APP_PID"
exec 9<&-  # the one reader gone
window=$(wait_for_window OpenGL 20)
xrandr --output DUMMY0 --off
check_escape_ends "$window" "$APP_PID"
xrandr --output DUMMY0 --mode 1280x1024

echo "# a restore that needs a larger screen than the server allows"
sed -e 's/VideoRam 32768/VideoRam 14000/' "$DEFAULT_CONF" >"$WORK/small-ram.conf"
fresh_server "$WORK/small-ram.conf" || exit 1
xrandr --addmode DUMMY1 1280x1024
xrandr --addmode DUMMY2 640x480
xrandr --addmode DUMMY3 640x480
xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0
start_program
window=$(wait_for_window OpenGL 20)
xrandr --output DUMMY2 --mode 640x480 --pos 640x0 --output DUMMY3 --mode 640x480 --pos 2560x0
scene_desktop=$(desktop_layout)
check_escape_ends "$window" "$APP_PID"
check "the desktop is left as it is" equals "$(desktop_layout)" "$scene_desktop"
check "one line says why" equals "$(grep '^winterhain:' "$APP_ERR")" \
  "winterhain: cannot restore the mode of display output DUMMY0 (the X server refuses a 3840x1024 screen); the desktop is left as it is"

echo "# a server without 640x480"
sed -e '/Modeline "640x480"/d' -e 's/ "640x480"//' -e 's/^\( *HorizSync\).*/\1 63.5-64.5/' \
  "$DEFAULT_CONF" >"$WORK/no640.conf"
fresh_server "$WORK/no640.conf" || exit 1
check "the server offers no 640x480" bash -c "! xrandr | grep -q 640x480"
start_program
window=$(wait_for_window OpenGL 20)
check "display left at 1280x1024" equals "$(xserver_mode)" 1280x1024
check "window keeps its 640x480 at the top-left" equals "$(window_geometry "$window")" "0 0 640 480"
check "the window shows the whole scene, sky on top" shows_scene 0 0 "$window"
check_escape_ends "$window" "$APP_PID"

echo "# a server without RandR"
cp "$DEFAULT_CONF" "$WORK/no-randr.conf"
printf 'Section "Extensions"\n    Option "RANDR" "Disable"\nEndSection\n' >>"$WORK/no-randr.conf"
fresh_server "$WORK/no-randr.conf" || exit 1
check "the server has no RandR" bash -c "! xdpyinfo | grep -q RANDR"
start_program
window=$(wait_for_window OpenGL 20)
check "window keeps its 640x480 at the top-left" equals "$(window_geometry "$window")" "0 0 640 480"
check "the window shows the whole scene, sky on top" shows_scene 0 0 "$window"
check_escape_ends "$window" "$APP_PID"
check "nothing on the terminal" nothing_on_terminal

echo "# a depth-16 server without Composite"
sed -e 's/Depth 24/Depth 16/' "$DEFAULT_CONF" >"$WORK/depth16.conf"
printf 'Section "Extensions"\n    Option "Composite" "Disable"\nEndSection\n' >>"$WORK/depth16.conf"
fresh_server "$WORK/depth16.conf" || exit 1
check "server runs at depth 16 without Composite" \
  bash -c "xdpyinfo | grep -q 'depth of root window:.*16 planes' && ! xdpyinfo | grep -q Composite"
start_program
window=$(wait_for_window OpenGL 20)
check "the scene window shows" test -n "$window"
check "display switched to 640x480" equals "$(xserver_mode)" 640x480
check "the scene is drawn, sky on top, ground below" shows_scene 0 0 "$window"
check_escape_ends "$window" "$APP_PID"
check "desktop mode is back" equals "$(xserver_mode)" 1280x1024

echo "# minimised by the window manager, then shown again"
fresh_server || exit 1
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
e2e_on_exit e2e_kill "$wm"
deadline=$(($(_e2e_now_ms) + 10000))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
  [ "$(_e2e_now_ms)" -ge "$deadline" ]; do sleep 0.05; done
start_program
window=$(wait_for_window OpenGL 20)
check "display switched to 640x480" equals "$(xserver_mode)" 640x480
xdotool windowminimize "$window"
check "while minimised, the desktop as it was" layout_becomes "$ONE_MONITOR"
xdotool windowactivate "$window"
check "shown again, switched again, the screen with it" layout_becomes "640x480; DUMMY0 640x480+0+0*"
check "the window covers the switched display" equals "$(window_geometry "$window")" "0 0 640 480"
check_escape_ends "$window" "$APP_PID"
check "the desktop as it was" equals "$(desktop_layout)" "$ONE_MONITOR"

# The top-left corner of the window manager's frame around window ID (its
# ancestor that is a child of the root), as X,Y.
frame_place() {
  local window=$1 parent root
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  while parent=$(xwininfo -children -id "$window" | awk '/Parent window id:/ { print $4 }') &&
    [ -n "$parent" ] && [ "$parent" != "$root" ]; do
    window=$parent
  done
  xwininfo -id "$window" | awk '/Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF } END { print x "," y }'
}
frame_at() { [ "$(frame_place "$1")" = "$2" ]; }
frame_moved() { [ "$(frame_place "$1")" != "$2" ]; }

echo "# a window the window manager pushed into the 640x480 screen"
xmessage -name plain-window -geometry +700+500 "a plain window" >/dev/null 2>&1 &
plain=$!
e2e_on_exit e2e_kill "$plain"
e2e_wait_until 10 xwininfo -name plain-window >/dev/null 2>&1
plain_window=$(xwininfo -name plain-window | awk '/Window id:/ { print $4 }')
check "a plain window stands at +700+500" e2e_wait_until 10 frame_at "$plain_window" 700,500
start_program
window=$(wait_for_window OpenGL 20)
check "openbox moves it into the 640x480 screen" e2e_wait_until 10 frame_moved "$plain_window" 700,500
check_escape_ends "$window" "$APP_PID"
check "the window back at +700+500" e2e_wait_until 10 frame_at "$plain_window" 700,500
start_program
wait_for_window OpenGL 20 >/dev/null
check "moved again by the next scene" e2e_wait_until 10 frame_moved "$plain_window" 700,500
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
check "the program killed, the guard puts it back at +700+500" \
  e2e_wait_until 10 frame_at "$plain_window" 700,500
e2e_kill "$plain"
e2e_kill "$wm"
xserver_stop

# Starts TigerVNC's X server, 1920x1080, on the first free display number
# from XSERVER_FIRST_DISPLAY, with no port for viewers (no TCP, no RFB), and
# points DISPLAY at it.
vnc_server_start() {
  local n=${XSERVER_FIRST_DISPLAY:-20}
  until _xserver_display_free "$n"; do n=$((n + 1)); done
  Xvnc ":$n" -geometry 1920x1080 -depth 24 -SecurityTypes None -rfbport -1 -nolisten tcp \
    </dev/null >"$WORK/xvnc.log" 2>&1 &
  vnc=$!
  e2e_on_exit xserver_remove_leftovers "$n" "$vnc"
  e2e_on_exit e2e_kill "$vnc"
  export DISPLAY=:$n
  e2e_wait_until 10 vnc_answers "$n" || { tail "$WORK/xvnc.log"; return 1; }
}
vnc_answers() { [ "$(_xserver_lock_owner "$1")" = "$vnc" ] && _xserver_answers ":$1"; }

# The root window's size and millimetres as xdpyinfo says them: "WxH WxH".
screen_size() {
  xdpyinfo | sed -n 's/^ *dimensions: *\([0-9x]*\) pixels (\([0-9x]*\) millimeters).*/\1 \2/p'
}

echo "# a VNC server: one output, the screen it fills resized with the mode"
vnc_server_start || exit 1
vnc_screen=$(screen_size)
check "a 1920x1080 screen, its one output filling it" \
  equals "$(desktop_layout)" "1920x1080; VNC-0 1920x1080+0+0"
start_program
window=$(wait_for_window OpenGL 20)
check "the screen is 640x480 during the scene" equals "$(screen_size | cut -d' ' -f1)" 640x480
check "a picture of the whole screen is the scene, sky on top" shows_scene 0 0
check "and the picture is 640x480" equals "$(identify -format %wx%h "$WORK/picture.png")" 640x480
check_escape_ends "$window" "$APP_PID"
check "the screen and its output as they were" equals "$(desktop_layout)" "1920x1080; VNC-0 1920x1080+0+0"
check "at the density they had" equals "$(screen_size)" "$vnc_screen"
start_program
wait_for_window OpenGL 20 >/dev/null
check "the next scene resizes it again" equals "$(screen_size | cut -d' ' -f1)" 640x480
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
check "the program killed, the guard gives the screen back" \
  layout_becomes "1920x1080; VNC-0 1920x1080+0+0"
check "at the density it had" equals "$(screen_size)" "$vnc_screen"
e2e_finish
