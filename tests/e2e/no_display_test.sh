#!/usr/bin/env bash
# With no display to show the scene on, the program says so in one line on
# stderr and exits non-zero at once instead of running unseen.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

err=$(mktemp)
e2e_on_exit rm -f "$err"
start=$(_e2e_now_ms)
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
  timeout 10 "$WINTERHAIN_BIN" 2>"$err"
status=$?
elapsed=$(($(_e2e_now_ms) - start))
check "exit status is non-zero (not a timeout)" test "$status" -ne 0 -a "$status" -ne 124
check "ends within a second (${elapsed} ms)" test "$elapsed" -lt 1000
check "says there is no display" grep -q "winterhain: cannot start: no display" "$err" || cat "$err"
e2e_finish
