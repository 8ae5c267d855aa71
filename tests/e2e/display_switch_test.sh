#!/usr/bin/env bash
# The program switches the display to 640 x 480, shows a borderless window
# titled "OpenGL" covering it, and on Escape ends with status 0 and the
# desktop's mode back.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xserver_start || exit 1
check "desktop runs at 1280x1024" equals "$(xserver_mode)" 1280x1024

start_program
window=$(wait_for_window OpenGL 20)
check "window titled OpenGL appears" test -n "$window"
check "display switched to 640x480" equals "$(xserver_mode)" 640x480
check "window covers the screen at the top-left corner" \
  equals "$(window_geometry "$window")" "0 0 640 480"
check "window carries the program's icon" bash -c "xprop -id $window _NET_WM_ICON | grep -q '32 x 32'"

send_key "$window" Escape
wait_pid_exit "$APP_PID" 20
check "Escape ends the program with status 0" equals "$?" 0
check "desktop mode is back" equals "$(xserver_mode)" 1280x1024
check "nothing on stderr" test ! -s "$APP_ERR" || cat "$APP_ERR"
e2e_finish
