#!/usr/bin/env bash
# Under a window manager (openbox here) the scene window is marked as
# covering the switched display, so the manager keeps it above panels and
# undecorated, and everything still ends cleanly on Escape. Before that,
# with no window manager, the desktop is left without a session bus.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xserver_start || exit 1

# With no session bus on the desktop the program starts none: libdbus would
# run dbus-launch, whose bus daemon outlives the program. A stand-in earlier
# on PATH records any such launch.
fake_bin=$(mktemp -d)
e2e_on_exit rm -rf "$fake_bin"
printf '#!/bin/sh\ntouch "%s/launched"\nexit 1\n' "$fake_bin" >"$fake_bin/dbus-launch"
chmod +x "$fake_bin/dbus-launch"
unset DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
start_program PATH="$fake_bin:$PATH"
window=$(wait_for_window OpenGL 20)
send_key "$window" Escape
wait_pid_exit "$APP_PID" 20
check "no session bus is launched for the program" test ! -e "$fake_bin/launched"

openbox --sm-disable >/dev/null 2>&1 &
wm=$!
e2e_on_exit e2e_kill "$wm"
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
deadline=$(($(_e2e_now_ms) + 10000))
until wm_running || [ "$(_e2e_now_ms)" -ge "$deadline" ]; do sleep 0.05; done
check "window manager runs" wm_running

start_program
window=$(wait_for_window OpenGL 20)
check "display switched to 640x480" equals "$(xserver_mode)" 640x480
check "window marked fullscreen" bash -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN"
check "window covers the display" equals "$(window_geometry "$window")" "0 0 640 480"
send_key "$window" Escape
wait_pid_exit "$APP_PID" 20
check "Escape ends the program with status 0" equals "$?" 0
check "desktop mode is back" equals "$(xserver_mode)" 1280x1024
e2e_finish
