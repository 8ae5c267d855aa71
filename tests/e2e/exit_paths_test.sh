#!/usr/bin/env bash
# Every way of asking the program to end goes through closing its window:
# the window manager's close request, SIGINT, SIGTERM and SIGHUP each end it
# with status 0 and the desktop's mode back. A termination signal while a
# message box is up ends the program as promptly (also a box SDL draws
# inside the program when no process can be forked), a SIGKILL during any box
# takes the box with it, and Escape counts while another client has the
# focus. Each run must leave the desktop as it was.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xserver_start || exit 1
DESKTOP=$(xserver_mode)

box_is_up() { wait_for_message_box Winterhain 20 >/dev/null; }
window_is_up() { wait_for_window "$1" 10 >/dev/null; }
tmp=$(mktemp -d)
e2e_on_exit rm -rf "$tmp"

# True once the scene has drawn a new frame since this was called.
new_frame_drawn() {
  local before=$tmp/before.ppm after=$tmp/after.ppm deadline=$(($(_e2e_now_ms) + 5000))
  screenshot "$before" || return 1
  while [ "$(_e2e_now_ms)" -lt "$deadline" ]; do
    screenshot "$after" || return 1
    cmp -s "$before" "$after" || return 0
    sleep 0.05
  done
  echo "     no new frame within 5 s"
  return 1
}

# The last row also runs on a driver that offers OpenGL 1.3 only: the scene
# needs 1.1, so it must start and draw there like anywhere else.
for row in wm-close INT TERM HUP "TERM MESA_GL_VERSION_OVERRIDE=1.3"; do
  read -r way driver <<<"$row"
  start_program ${driver:+"$driver"}
  window=$(wait_for_window OpenGL 20)
  check "$row: window appears at 640x480" equals "$(xserver_mode)" 640x480
  [ -n "$driver" ] && check "$row: the scene draws frames" new_frame_drawn
  if [ "$way" = wm-close ]; then
    send_wm_close "$window"
  else
    kill -s "$way" "$APP_PID"
  fi
  wait_pid_exit "$APP_PID" 20
  check "$row: exit status 0" equals "$?" 0
  check "$row: desktop mode back" equals "$(xserver_mode)" 1280x1024
done

# Ctrl+Z and the terminal's other stops: while the program is stopped the
# desktop has its mode, and the scene switches again when it continues.
# The program runs in a process group of its own, as a job of an
# interactive shell does: the kernel ignores these signals in a group whose
# parents are all inside it or outside the session. (Not through set -m: a
# job stopping makes bash leave the loop it is in.)
stopped() { # stopped PID: polls up to 3 s until PID is stopped
  local deadline=$(($(_e2e_now_ms) + 3000))
  until [ "$(awk '/^State:/ { print $2 }' "/proc/$1/status" 2>/dev/null)" = T ]; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
for stop in TSTP TTIN TTOU; do
  start_program perl -e 'setpgrp(0, 0); exec @ARGV or die' --
  window=$(wait_for_window OpenGL 20)
  kill -s "$stop" "$APP_PID"
  check "$stop: the program stops" stopped "$APP_PID"
  check "$stop: the desktop's mode while it is stopped" layout_becomes "1280x1024; DUMMY0 1280x1024+0+0*"
  kill -s CONT "$APP_PID"
  check "$stop: continued, it switches again" layout_becomes "640x480; DUMMY0 640x480+0+0*"
  send_key "$window" Escape
  wait_pid_exit "$APP_PID" 20
  check "$stop: Escape then ends it with status 0" equals "$?" 0
  check "$stop: desktop given back" desktop_given_back "$DESKTOP"
done

# With an audio driver that does not exist the music shows three boxes in
# a row ("Fehler!", "Fehler! Start()", "Keine Musik!!!!!!!! Error 1"), with
# the display already switched.
for box in 1 2 3; do
  start_program SDL_AUDIODRIVER=nonexistent
  check "KILL during box $box: boxes before it answered" answer_boxes $((box - 1))
  check "KILL during box $box: the box is up" box_is_up
  check "KILL during box $box: display switched" equals "$(xserver_mode)" 640x480
  kill -KILL "$APP_PID"
  check "KILL during box $box: desktop given back" desktop_given_back "$DESKTOP"
done

# The first box cut short, the other two never shown: all three texts go
# to stderr instead, and the program ends the normal way.
start_program SDL_AUDIODRIVER=nonexistent
check "TERM during box 1: the box is up" box_is_up
kill -TERM "$APP_PID"
wait_pid_exit "$APP_PID" 3
check "TERM during box 1: ends within 3 s with status 0" equals "$?" 0
check "TERM during box 1: no further box, the texts on stderr" equals "$(grep -c '^Winterhain: ' "$APP_ERR")" 3
check "TERM during box 1: desktop given back" desktop_given_back "$DESKTOP"

# No process can be forked for a box (run as nobody with a limit of one
# process): SDL draws it inside the program, where it reads no signal. Each
# termination signal still ends the program at once, with the desktop back.
for signal in TERM HUP INT; do
  start_program SDL_AUDIODRIVER=nonexistent setpriv --reuid=nobody --regid=nogroup \
    --clear-groups prlimit --nproc=1 --
  check "$signal during a box drawn in the program: the box is up" box_is_up
  check "$signal during a box drawn in the program: no process could be forked" \
    grep -q "cannot start the display guard" "$APP_ERR"
  kill -s "$signal" "$APP_PID"
  wait_pid_exit "$APP_PID" 3
  check "$signal during a box drawn in the program: ends within 3 s with status 0" equals "$?" 0
  check "$signal during a box drawn in the program: desktop given back" desktop_given_back "$DESKTOP"
  e2e_kill "$APP_PID"  # a program still in its box must not spoil the next row
  [ "$(xserver_mode)" = "$DESKTOP" ] || xserver_set_mode "$DESKTOP"
done

# Another client has the focus and the pointer: the key still ends the scene.
start_program
window=$(wait_for_window OpenGL 20)
xmessage -name focus-holder -geometry 300x100+170+190 "focus holder" &
holder=$!
e2e_on_exit e2e_kill "$holder"
check "Escape elsewhere: the other client is up" window_is_up focus-holder
holder_window=$(wait_for_window focus-holder 1)
read -r x y w h <<<"$(window_geometry "$holder_window")"
# Held until the program has gone: a frame may take longer than a tap when
# the machine is busy, and a tap elsewhere is only seen by a frame's look.
xdotool windowfocus "$holder_window" mousemove $((x + w / 2)) $((y + h / 2)) keydown Escape
wait_pid_exit "$APP_PID" 5
check "Escape elsewhere: ends the program with status 0" equals "$?" 0
xdotool keyup Escape
e2e_kill "$holder"
e2e_kill "$APP_PID"  # a program that missed the key must not spoil the next row
check "Escape elsewhere: desktop given back" desktop_given_back "$DESKTOP"

# A layout that moves Escape: the key that used to give it (keycode 9) now
# gives F20, and keycode 66 gives Escape. Holding keycode 9 must not end the
# program, keycode 66 must. The layout changes while the program runs (SDL
# itself works out which key is which at its start only).
start_program
window=$(wait_for_window OpenGL 20)
check "Escape moved: layout changed" xmodmap -e "keycode 9 = F20" -e "keycode 66 = Escape"
read -r x y w h <<<"$(window_geometry "$window")"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) keydown F20
# Two frames drawn after the press: the held key has been looked at.
new_frame_drawn && new_frame_drawn
check "Escape moved: the old Escape key, held, does not end it" kill -0 "$APP_PID"
xdotool keyup F20
send_key "$window" Escape
wait_pid_exit "$APP_PID" 5
check "Escape moved: the key giving Escape ends it with status 0" equals "$?" 0
xmodmap -e "keycode 9 = Escape" -e "keycode 66 = Caps_Lock"
check "Escape moved: desktop given back" desktop_given_back "$DESKTOP"
e2e_finish
