#!/usr/bin/env bash
# Every way of asking the program to end goes through closing its window:
# the window manager's close request, SIGINT, SIGTERM and SIGHUP each end it
# with status 0 and the desktop's mode back.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xserver_start || exit 1

for way in wm-close INT TERM HUP; do
  start_program
  window=$(wait_for_window OpenGL 20)
  check "$way: window appears at 640x480" equals "$(xserver_mode)" 640x480
  if [ "$way" = wm-close ]; then
    send_wm_close "$window"
  else
    kill -s "$way" "$APP_PID"
  fi
  wait_pid_exit "$APP_PID" 20
  check "$way: exit status 0" equals "$?" 0
  check "$way: desktop mode back" equals "$(xserver_mode)" 1280x1024
done
e2e_finish
