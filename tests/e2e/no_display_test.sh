#!/usr/bin/env bash
# With no display to show the scene on, the program says so in one line on
# stderr and exits non-zero at once instead of running unseen: when no
# display is named, when DISPLAY names an X server that is gone, and on a
# Wayland compositor without a seat (weston's headless backend: no keyboard,
# so nothing could end the scene). The line is all the terminal shows.
# Needs: weston (run as nobody when the test runs as root).
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

err=$(mktemp)
e2e_on_exit rm -f "$err"

# Runs the program with the given environment changes (and no desktop of
# the test's host); sets STATUS and ELAPSED (ms).
run_without_display() { # run_without_display ENV-ARGS...
  local start
  start=$(_e2e_now_ms)
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR SDL_AUDIODRIVER=dummy \
    "$@" timeout 10 "$WINTERHAIN_BIN" 2>"$err"
  STATUS=$?
  ELAPSED=$(($(_e2e_now_ms) - start))
}

# The terminal holds exactly LINE.
terminal_shows() { # terminal_shows LINE
  [ "$(cat "$err")" = "$1" ] && return 0
  sed 's/^/     stderr: /' "$err"
  return 1
}

run_without_display
check "exit status is non-zero (not a timeout)" test "$STATUS" -ne 0 -a "$STATUS" -ne 124
check "ends within a second (${ELAPSED} ms)" test "$ELAPSED" -lt 1000
check "says there is no display, and nothing else" \
  terminal_shows "winterhain: cannot start: no display to show the scene on (neither DISPLAY nor WAYLAND_DISPLAY is set)"

# A display number no server has.
gone=90
while [ -e "/tmp/.X11-unix/X$gone" ] || [ -e "/tmp/.X$gone-lock" ]; do gone=$((gone + 1)); done
run_without_display DISPLAY=:$gone
check "X server gone: exit status is non-zero (not a timeout)" test "$STATUS" -ne 0 -a "$STATUS" -ne 124
check "X server gone: says which server cannot be reached, and nothing else" \
  terminal_shows "winterhain: cannot start: cannot reach the X server :$gone (DISPLAY)"

# weston, headless, in a runtime folder of its own; sets WESTON_DIR once its
# socket is there.
weston_headless_start() {
  local user=() deadline pid
  [ "$(id -u)" -eq 0 ] && user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  WESTON_DIR=$(mktemp -d /tmp/winterhain-weston.XXXXXX)
  e2e_on_exit rm -rf "$WESTON_DIR"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$WESTON_DIR"
  chmod 700 "$WESTON_DIR"
  "${user[@]}" env -i PATH="$PATH" HOME="$WESTON_DIR" XDG_RUNTIME_DIR="$WESTON_DIR" \
    weston --backend=headless-backend.so --socket=weston-test --idle-time=0 \
    >"$WESTON_DIR/weston.log" 2>&1 &
  pid=$!
  e2e_on_exit e2e_kill "$pid"
  deadline=$(($(_e2e_now_ms) + 10000))
  until [ -S "$WESTON_DIR/weston-test" ]; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || { tail -n 5 "$WESTON_DIR/weston.log"; return 1; }
    sleep 0.05
  done
}

# No seat, and no X server to take instead; with SDL's choice of driver and
# with its wayland driver asked for.
if weston_headless_start; then
  for driver in "" wayland; do
    label="no seat${driver:+, $driver asked for}"
    run_without_display XDG_RUNTIME_DIR="$WESTON_DIR" WAYLAND_DISPLAY=weston-test \
      ${driver:+SDL_VIDEODRIVER=$driver}
    check "$label: exit status 1 (not a crash or a timeout)" equals "$STATUS" 1
    check "$label: ends within a second (${ELAPSED} ms)" test "$ELAPSED" -lt 1000
    check "$label: says there is no seat, and nothing else" terminal_shows \
      "winterhain: cannot start: the Wayland compositor offers no keyboard or pointer (no seat), and there is no X display to show the scene on instead"
  done
  # weston has no layer shell (nor has GNOME): the saver's layer roles say
  # so in one line and end.
  saver=${WINTERHAIN_BUILD_DIR:-$PWD/build}/winterhain-saver
  for role in background overlay; do
    env -u DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$WESTON_DIR" WAYLAND_DISPLAY=weston-test \
      timeout 10 "$saver" --$role 2>"$err"
    check "no layer shell, saver --$role: exit status 1 (not a crash or a timeout)" equals "$?" 1
    check "no layer shell, saver --$role: says so, and nothing else" terminal_shows \
      "winterhain: the Wayland compositor has no layer shell (zwlr_layer_shell_v1) to show the scene on"
  done
else
  check "weston's headless backend starts (scripts/deps installs weston)" false
fi
e2e_finish
