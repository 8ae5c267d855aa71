#!/usr/bin/env bash
# With no display to show the scene on, the program says so in one line on
# stderr and exits non-zero at once instead of running unseen: when no
# display is named, and when DISPLAY names an X server that is gone. The
# line is all the terminal shows.
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
e2e_finish
