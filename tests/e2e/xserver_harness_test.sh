#!/usr/bin/env bash
# The helpers below are called through check(), which shellcheck cannot see.
# shellcheck disable=SC2317,SC2009
# Checks the X server helpers in xserver.sh: start Xorg with the dummy
# driver, see both configured modes, switch to 640x480 and back, stop the
# server and make sure nothing of it is left. Exit status 0 when all checks
# pass; the last line is "N passed, N failed".
set -u

# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

passed=0
failed=0
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   - $what"
  else
    failed=$((failed + 1))
    echo "FAIL - $what"
  fi
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

mode_is() { [ "$(xserver_mode)" = "$1" ]; }
mode_listed() { xrandr --current | grep -Eq "^ +$1 "; }
is_set() { [ -n "$1" ]; }
has_extension() { xdpyinfo | grep -qw "$1"; }
root_depth_24() { xdpyinfo | grep -q "depth of root window: *24 planes"; }
# SDL's X11 message boxes need a core font matching this pattern.
box_fonts_present() {
  xlsfonts -fn "-*-*-medium-r-normal--*-120-*-*-*-*-*-*" 2>/dev/null | grep -q .
}
no_window_times_out() { ! wait_for_window e2e-none 0.3 2>/dev/null; }
wm_close_rejects_missing() {
  send_wm_close 0x3fffff 2>/dev/null
  [ $? -eq 2 ]
}
pid_gone() { ! kill -0 "$1" 2>/dev/null; }
no_xorg_for_display() {
  ! ps -eo pid=,args= | grep -Eq "^ *[0-9]+ +(/usr/bin/|/usr/lib/xorg/)?Xorg :$1( |\$)"
}
not_answering() { ! xdpyinfo -display ":$1" >/dev/null 2>&1; }

# Waits (bounded) until the mode reads back as expected: xrandr -s returns
# after the server applied it, but poll anyway rather than assume.
wait_mode() {
  local want=$1 deadline
  deadline=$(($(_e2e_now_ms) + 5000))
  until mode_is "$want"; do
    [ "$(_e2e_now_ms)" -ge "$deadline" ] && return 1
    sleep 0.05
  done
}

check "xserver_start" xserver_start || finish
pid=$XSERVER_PID
disp=${XSERVER_DISPLAY#:}
check "DISPLAY exported" is_set "${DISPLAY:-}"
check "xdpyinfo answers on $DISPLAY" _xserver_answers "$DISPLAY"
check "root depth is 24" root_depth_24
check "starts in 1280x1024" mode_is 1280x1024
check "1280x1024 listed by xrandr" mode_listed 1280x1024
check "640x480 listed by xrandr" mode_listed 640x480
check "XTEST extension present" has_extension XTEST
check "GLX extension present" has_extension GLX
check "xrandr -s 640x480" xrandr -s 640x480
check "mode reads back 640x480" wait_mode 640x480
check "xrandr -s 1280x1024" xrandr -s 1280x1024
check "mode reads back 1280x1024" wait_mode 1280x1024
check "fonts for SDL message boxes" box_fonts_present
check "wait_for_window times out" no_window_times_out

check "send_wm_close builds and rejects a missing window" wm_close_rejects_missing

# wait_pid_exit: status passes through, timeout is reported.
(exit 3) &
p=$!
wait_pid_exit "$p" 5
check "wait_pid_exit returns the exit status" [ $? -eq 3 ]
sleep 30 &
p=$!
wait_pid_exit "$p" 0.2 2>/dev/null
check "wait_pid_exit times out with 124" [ $? -eq 124 ]
e2e_kill "$p" 2
check "e2e_kill ends the process" pid_gone "$p"

xserver_stop
xserver_stop
check "xserver_stop twice is fine" true
check "Xorg process $pid gone" pid_gone "$pid"
check "no Xorg of ours in ps" no_xorg_for_display "$disp"
check "lock file removed" [ ! -e "/tmp/.X$disp-lock" ]
check "socket removed" [ ! -e "/tmp/.X11-unix/X$disp" ]
check "server no longer answers" not_answering "$disp"

# A server killed outright cannot remove its lock file and socket: the
# harness does, so the next run can have the number again.
check "xserver_start again" xserver_start || finish
pid=$XSERVER_PID
disp=${XSERVER_DISPLAY#:}
kill -KILL "$pid"
xserver_stop
check "killed server: lock file removed" [ ! -e "/tmp/.X$disp-lock" ]
check "killed server: socket removed" [ ! -e "/tmp/.X11-unix/X$disp" ]

# A lock left by a server that is gone (another harness killed, a machine
# reset) does not use the number up: Xorg takes over a stale lock itself.
(exit 0) &
dead=$!
wait "$dead"
# (noclobber: a server that took the number meanwhile keeps its lock)
if (set -C && echo "$dead" >"/tmp/.X$disp-lock") 2>/dev/null; then
  XSERVER_FIRST_DISPLAY=$disp xserver_start
  check "a stale lock's number is taken again" [ "$XSERVER_DISPLAY" = ":$disp" ]
  xserver_stop
  check "and given back" [ ! -e "/tmp/.X$disp-lock" ]
fi
finish
