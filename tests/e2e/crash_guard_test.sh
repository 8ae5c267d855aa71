#!/usr/bin/env bash
# A program that dies without restoring the display (abort, segmentation
# fault, SIGKILL) must not leave the desktop at 640 x 480: its guard puts
# the desktop's mode back.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xserver_start || exit 1

# Polls until the output shows MODE, up to 10 s.
mode_becomes() {
  local deadline=$(($(_e2e_now_ms) + 10000))
  while [ "$(_e2e_now_ms)" -lt "$deadline" ]; do
    [ "$(xserver_mode)" = "$1" ] && return 0
    sleep 0.05
  done
  echo "     mode is $(xserver_mode), expected $1"
  return 1
}

for signal in ABRT SEGV KILL; do
  start_program
  wait_for_window OpenGL 20 >/dev/null
  check "$signal: display switched" equals "$(xserver_mode)" 640x480
  kill -s "$signal" "$APP_PID"
  wait_pid_exit "$APP_PID" 20
  # Died of the signal (status above 128), or, in a sanitizer build that
  # catches SIGSEGV itself, ended with an error status.
  check "$signal: program did not end normally" test "$?" -ne 0
  check "$signal: desktop mode restored by the guard" mode_becomes 1280x1024
done

# A normal end leaves nothing for the guard to do, and the guard goes too.
start_program
window=$(wait_for_window OpenGL 20)
send_key "$window" Escape
wait_pid_exit "$APP_PID" 20
check "Escape: exit status 0" equals "$?" 0
check "Escape: guard said nothing" test ! -s "$APP_ERR"
e2e_finish
