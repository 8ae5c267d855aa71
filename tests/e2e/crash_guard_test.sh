#!/usr/bin/env bash
# A program that dies without restoring the display (abort, segmentation
# fault, SIGKILL, its whole process group killed, started with its standard
# streams closed) must not leave the desktop at 640 x 480: its guard puts
# the desktop's mode back. When the X server itself goes, the program ends
# with one clear line and the guard claims nothing it could not do.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

xserver_start || exit 1
tmp=$(mktemp -d)
e2e_on_exit rm -rf "$tmp"

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

# Polls up to 10 s until no process of the run lives (a loaded machine
# takes a while to end one).
eventually_no_run_processes() {
  local deadline=$(($(_e2e_now_ms) + 10000))
  while [ -n "$(live_run_processes)" ]; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || { echo "     left: $(live_run_processes)"; return 1; }
    sleep 0.05
  done
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

# The run's processes but the program: its guard.
guards_of() { live_run_processes | grep -vx "$1"; }
guard_other_than() { # guard_other_than PROGRAM GUARD
  [ -n "$(guards_of "$1" | grep -vx "$2")" ]
}

# The guard killed first, then the program: the program has started a new
# guard, handed what to give back, and that one gives the desktop back.
start_program
wait_for_window OpenGL 20 >/dev/null
first_guard=$(guards_of "$APP_PID")
check "one guard beside the program" test -n "$first_guard"
kill -KILL $first_guard
check "guard killed: a new one takes its place" e2e_wait_until 10 guard_other_than "$APP_PID" "$first_guard"
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
check "then the program killed: desktop given back" desktop_given_back 1280x1024
check "the new guard says so" grep -q "the desktop's mode is restored" "$APP_ERR"

# An upgrade puts a new guard file in place (renamed over the old one, as
# dpkg does) while the scene runs; the guard then killed is replaced by the
# program's own version, the file it has held since its start, whatever now
# has that name.
upgraded=$tmp/upgraded
mkdir -p "$upgraded"
cp "$WINTERHAIN_BIN" "$(dirname "$WINTERHAIN_BIN")/winterhain-guard" "$upgraded/"
WINTERHAIN_BIN=$upgraded/winterhain start_program
wait_for_window OpenGL 20 >/dev/null
first_guard=$(guards_of "$APP_PID")
printf '#!/bin/sh\ntouch %s\n' "$tmp/new-guard-ran" >"$upgraded/winterhain-guard.new"
chmod +x "$upgraded/winterhain-guard.new"
mv -f "$upgraded/winterhain-guard.new" "$upgraded/winterhain-guard"
kill -KILL $first_guard
check "guard file replaced, guard killed: a new one takes its place" \
  e2e_wait_until 10 guard_other_than "$APP_PID" "$first_guard"
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
check "then the program killed: its own version gives the desktop back" desktop_given_back 1280x1024
check "the file now named so never ran" test ! -e "$tmp/new-guard-ran"

# Program and guard killed together, then the user chooses 640x480: what
# the dead run recorded is no reason for a later run to change that.
start_program
wait_for_window OpenGL 20 >/dev/null
run=$(live_run_processes)
# shellcheck disable=SC2086
kill -STOP $run && kill -KILL $run
wait_pid_exit "$APP_PID" 20
xrandr --output DUMMY0 --mode 1280x1024
xrandr --output DUMMY0 --mode 640x480
start_program
window=$(wait_for_window OpenGL 20)
send_key "$window" Escape
wait_pid_exit "$APP_PID" 20
check "both killed, 640x480 chosen: a later run leaves it" equals "$(xserver_mode)" 640x480
xserver_set_mode 1280x1024

# What `timeout -s KILL`, a closed terminal session or `kill -9 -- -PGID`
# do: every process of the program's group gets SIGKILL at once.
# env runs setsid, which makes the program (same process, not a group
# leader) the leader of a new session and process group.
start_program setsid
wait_for_window OpenGL 20 >/dev/null
check "group KILL: display switched" equals "$(xserver_mode)" 640x480
kill -KILL -- "-$APP_PID"
check "group KILL: desktop given back" desktop_given_back 1280x1024

# Prints "PID FD" for each of descriptors 0-2 of the run's processes that is
# a socket (the display connection, the guard's socket).
sockets_on_standard_streams() {
  local pid fd
  for pid in $(live_run_processes); do
    for fd in 0 1 2; do
      [[ $(readlink "/proc/$pid/fd/$fd" 2>/dev/null) == socket:* ]] && echo "$pid $fd"
    done
  done
  return 0
}

start_program_closed_streams() {
  APP_ERR=/dev/null
  (exec env SDL_AUDIODRIVER=dummy "$E2E_RUN_MARK" "$WINTERHAIN_BIN") <&- >&- 2>&- &
  APP_PID=$!
  e2e_on_exit e2e_kill "$APP_PID"
}
start_program_closed_streams
wait_for_window OpenGL 20 >/dev/null
check "closed streams: display switched" equals "$(xserver_mode)" 640x480
check "closed streams: no socket on descriptors 0-2" equals "$(sockets_on_standard_streams)" ""
kill -KILL "$APP_PID"
check "closed streams: desktop given back" desktop_given_back 1280x1024

# A second monitor switched off during the scene shrinks the screen to the
# switched output: the guard makes it large enough for the desktop's mode.
xrandr --addmode DUMMY1 1280x1024
xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0
start_program
wait_for_window OpenGL 20 >/dev/null
xrandr --output DUMMY1 --off
check "second monitor off: the screen shrank to 640x480" \
  equals "$(desktop_layout)" "640x480; DUMMY0 640x480+0+0*"
kill -KILL "$APP_PID"
check "second monitor off, KILL: the switched output back, the other left off" \
  layout_becomes "1280x1024; DUMMY0 1280x1024+0+0*"

# Twelve descriptors: the guard still watches, and acts only after the kill.
# A sanitizer's runtime needs descriptors of its own, so in such a build the
# program runs short before the guard matters: the row runs on plain builds.
if ldd "$WINTERHAIN_BIN" | grep -q libasan; then
  echo "skip - 12 descriptors: a sanitizer build needs descriptors of its own"
else
  start_program bash -c 'ulimit -n 12 && exec "$0"'
  wait_for_window OpenGL 20 >/dev/null || cat "$APP_ERR"
  check "12 descriptors: the guard stands by" equals "$(live_run_processes | wc -l)" 2
  check "12 descriptors: display switched" equals "$(xserver_mode)" 640x480
  kill -KILL "$APP_PID"
  check "12 descriptors: desktop given back" desktop_given_back 1280x1024
fi

# An ordinary user allowed one process: no guard can be forked, and the
# program says that the switch would not survive a crash. A user id of its
# own, with no process yet, so the one allowed is the program.
for uid in $(seq 47000 47099); do
  ! getent passwd "$uid" >/dev/null && [ -z "$(ps -o pid= -u "$uid")" ] && break
done
start_program setpriv --reuid="$uid" --regid="$uid" --clear-groups bash -c 'ulimit -u 1 && exec "$0"'
# With no thread to spare the sound cannot start either: its boxes come.
wait_for_message_box Winterhain 20 >/dev/null
check "one process: says a crash would leave the display switched" \
  grep -q "^winterhain: cannot start the display guard" "$APP_ERR"
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
xserver_set_mode 1280x1024

# The same in the background of a terminal set to stop writers from the
# background (stty tostop): the line is written once the X server is let go,
# so the stop that follows holds no other client up.
script -qec "stty tostop; set -m
  env $E2E_RUN_MARK SDL_AUDIODRIVER=dummy setpriv --reuid=$uid --regid=$uid --clear-groups \
    bash -c 'ulimit -u 1 && exec \"\$0\"' '$WINTERHAIN_BIN' 2>/dev/tty &
  echo \$! >'$tmp/background'; sleep 30" /dev/null >/dev/null &
e2e_on_exit e2e_kill $!
e2e_wait_until 20 test -s "$tmp/background"
APP_PID=$(cat "$tmp/background")
is_stopped() { [ "$(awk '/^State:/ { print $2 }' "/proc/$1/status" 2>/dev/null)" = T ]; }
check "tostop: the program stops at its line" e2e_wait_until 20 is_stopped "$APP_PID"
check "tostop: the X server still serves other clients" bash -c "timeout 5 xdpyinfo >/dev/null"
kill -KILL "$APP_PID"
wait_pid_exit "$APP_PID" 20
xserver_set_mode 1280x1024

# A server that admits only holders of its cookie, and the program's copy
# of it removed while the scene runs (a session's file replaced): the guard
# needs none, since it holds its connection from the start. The cookie file
# is written by hand: one entry for any display (family 0xffff, no address,
# no display number), read by the server and by the clients alike.
xserver_stop
{
  printf '\377\377\0\0\0\0\0\022MIT-MAGIC-COOKIE-1\0\020'
  head -c 16 /dev/urandom
} >"$tmp/server.auth"
export XAUTHORITY=$tmp/server.auth
XSERVER_ARGS="-auth $tmp/server.auth" xserver_start || exit 1
check "cookie server: a client without the cookie is refused" \
  bash -c '! XAUTHORITY=/nonexistent xdpyinfo >/dev/null 2>&1'
cp "$tmp/server.auth" "$tmp/program.auth"
start_program XAUTHORITY="$tmp/program.auth"
wait_for_window OpenGL 20 >/dev/null
rm "$tmp/program.auth"
kill -KILL "$APP_PID"
check "cookie file gone, KILL: desktop given back" desktop_given_back 1280x1024
check "cookie file gone, KILL: the guard says it restored the mode" \
  grep -q "the desktop's mode is restored" "$APP_ERR"

# A normal end leaves nothing for the guard to do, and the guard goes too.
start_program
window=$(wait_for_window OpenGL 20)
send_key "$window" Escape
wait_pid_exit "$APP_PID" 20
check "Escape: exit status 0" equals "$?" 0
check "Escape: guard said nothing" test ! -s "$APP_ERR"

# Last, since it ends the X server.
start_program
wait_for_window OpenGL 20 >/dev/null
check "X server killed: display switched" equals "$(xserver_mode)" 640x480
kill -KILL "$XSERVER_PID"
wait_pid_exit "$APP_PID" 10
check "X server killed: the program fails" test "$?" -ne 0
check "X server killed: no process of the run left" eventually_no_run_processes
check "X server killed: one line from the program" \
  equals "$(grep -c 'winterhain: lost the connection to the X server' "$APP_ERR")" 1
check "X server killed: no dump from the X library" equals "$(grep -c 'XIO' "$APP_ERR")" 0
check "X server killed: the guard says the mode was not put back" \
  grep -q "X server cannot be reached, so the desktop's mode was not put back" "$APP_ERR"
check "X server killed: nobody claims a restore" equals "$(grep -c restored "$APP_ERR")" 0
e2e_finish
