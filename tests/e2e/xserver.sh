# shellcheck shell=bash
# Helpers for end-to-end tests against a real X server (Xorg with the dummy
# video driver, configured by xorg-dummy.conf next to this file).
#
# Usage (bash only; source it, do not execute it):
#   source tests/e2e/xserver.sh
#   xserver_start || exit 1        # exports DISPLAY, registers cleanup
#   ... start the program, drive it with the functions below ...
#   xserver_stop                   # optional: also runs on EXIT
#
# Every wait has a deadline; nothing here relies on fixed sleeps. Short
# sleeps only pace polling loops.
#
# Functions (return 0 on success unless stated otherwise):
#   xserver_start                 start Xorg on a free display, export DISPLAY
#   xserver_stop                  stop it (idempotent), remove its lock and socket
#   xserver_remove_leftovers N PID  remove display N's lock and socket when
#                                 they belong to PID, which is gone
#   xserver_mode                  print the mode the output shows as WxH
#   xserver_set_mode WxH          switch with xrandr -s and wait for it
#   wait_for_window NAME TIMEOUT  print id of the mapped app window NAME
#   wait_for_message_box NAME TIMEOUT   same for an SDL message box
#   wait_for_window_gone NAME|ID TIMEOUT
#   window_geometry ID            print "x y w h" (root coordinates)
#   send_key ID KEY               pointer over window, then XTEST key press
#   send_key_focused ID KEY       same, after giving ID the input focus
#   answer_message_box ID [KEY [TIMEOUT]]  key to a box, wait until it is gone
#   send_wm_close ID              WM_DELETE_WINDOW request (builds wm_close.c)
#   e2e_tool NAME                 path of the X client built from NAME.c here
#   screenshot FILE [ID]          picture of the screen or of window ID
#   wait_pid_exit PID TIMEOUT     return PID's exit status; 124 on timeout
#   e2e_on_exit CMD...            run CMD at exit (last registered first)
#   e2e_kill PID [TIMEOUT]        TERM, wait, then KILL a process we started
#   e2e_wait_until TIMEOUT CMD... poll CMD until it succeeds
#   "${E2E_UNPRIVILEGED[@]}" CMD  run CMD as nobody when the tests run as root
#
# TIMEOUT values are seconds and may be fractional (e.g. 2.5).
#
# Display numbers. xserver_start takes the first free number from
# XSERVER_FIRST_DISPLAY (default 20) up to 80 numbers on; a number is free
# when no lock file /tmp/.X<N>-lock claims it, or when the process its lock
# names is gone (Xorg takes such a number over). To keep the tests off the
# numbers of other X servers, give them a range of their own, e.g.
#   XSERVER_FIRST_DISPLAY=200 make test
# Every server a test starts is stopped when the test ends, and its lock
# file and socket (/tmp/.X11-unix/X<N>) are removed even when it did not
# remove them itself because it was killed (the crash-guard test kills one),
# so a run leaves no number used up. The Wayland tier's Xwayland picks its
# own number (see sway.sh).
# Other settings: XSERVER_TIMEOUT (seconds to wait for the server to answer,
# default 10), XSERVER_CONF (the Xorg configuration, default xorg-dummy.conf
# here), XSERVER_KEEP_LOG=1 (keep the server's log folder /tmp/e2e-xorg.*).
# Needs: Xorg (xserver-xorg-core, xserver-xorg-video-dummy), xdpyinfo and
# xwininfo (x11-utils), xrandr (x11-xserver-utils), xdotool, xfonts-base
# (core fonts: without them SDL's X11 message boxes fail), imagemagick
# (screenshot), cc and libx11-dev (send_wm_close).

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
XSERVER_CONF=${XSERVER_CONF:-$E2E_DIR/xorg-dummy.conf}
# Further arguments for Xorg, word-split (e.g. "-auth FILE" for a server
# that admits only clients holding its cookie).
XSERVER_ARGS=${XSERVER_ARGS:-}
XSERVER_PID=
XSERVER_DISPLAY=
XSERVER_TMPDIR=
XSERVER_LOG=
_E2E_EXIT_CMDS=()
_E2E_TRAP_SET=
# Set by wait_pid_exit: 1 when it gave up waiting, for callers to tell a
# timeout apart from a program that itself exited with 124.
# shellcheck disable=SC2034
WAIT_PID_TIMED_OUT=0

# Milliseconds since the epoch, from bash's own clock (no subprocess).
_e2e_now_ms() {
  local t=${EPOCHREALTIME/[.,]/}
  echo $((t / 1000))
}

# Converts seconds (possibly fractional) to milliseconds.
_e2e_sec_to_ms() {
  awk -v s="$1" 'BEGIN { printf "%d\n", s * 1000 }'
}

# Ends the test as skipped, loudly: ctest counts exit status 77 as a skip.
e2e_skip() {
  echo "SKIP - $*"
  exit 77
}

# The last lines of every non-empty log in DIR, for a harness that failed.
e2e_print_logs() { # e2e_print_logs DIR
  local log
  for log in "$1"/*.log; do
    [ -s "$log" ] || continue
    echo "----- $(basename "$log") (last lines) -----"
    tail -n 10 "$log"
  done
}

# Polls COMMAND every 50 ms until it succeeds; false after TIMEOUT seconds.
e2e_wait_until() { # e2e_wait_until TIMEOUT COMMAND...
  local deadline
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$1")))
  shift
  until "$@"; do
    [ "$(_e2e_now_ms)" -ge "$deadline" ] && return 1
    sleep 0.05
  done
}

# The command prefix that runs a command as an unprivileged user: the
# compositors and XScreenSaver refuse to run as root.
E2E_UNPRIVILEGED=()
[ "$(id -u)" -eq 0 ] && E2E_UNPRIVILEGED=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

_e2e_run_exit_cmds() {
  local i
  for ((i = ${#_E2E_EXIT_CMDS[@]} - 1; i >= 0; i--)); do
    eval "${_E2E_EXIT_CMDS[i]}" || true
  done
  _E2E_EXIT_CMDS=()
}

# Registers a command to run when the shell exits (including on errors and
# on SIGINT/SIGTERM). Commands run in reverse order of registration, so a
# program started after the X server is stopped before the server.
e2e_on_exit() {
  _E2E_EXIT_CMDS+=("$*")
  if [ -z "$_E2E_TRAP_SET" ]; then
    trap '_e2e_run_exit_cmds' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    _E2E_TRAP_SET=1
  fi
}

# Stops a process started by the test: SIGTERM, wait up to TIMEOUT seconds
# (default 5), then SIGKILL. Safe to call on a process that already exited.
e2e_kill() {
  local pid=$1 timeout=${2:-5}
  [ -n "$pid" ] || return 0
  kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; return 0; }
  kill -TERM "$pid" 2>/dev/null
  if ! wait_pid_exit "$pid" "$timeout" >/dev/null 2>&1 && kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  return 0
}

# Waits for PID to end and returns its exit status. PID should be a child of
# this shell (started with &), otherwise its status cannot be known and 0 is
# returned once it is gone. On timeout prints a message to stderr, sets
# WAIT_PID_TIMED_OUT=1 and returns 124 (as timeout(1) does).
wait_pid_exit() {
  local pid=$1 deadline
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$2")))
  # shellcheck disable=SC2034
  WAIT_PID_TIMED_OUT=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "wait_pid_exit: process $pid still running after $2 s" >&2
      # shellcheck disable=SC2034
      WAIT_PID_TIMED_OUT=1
      return 124
    fi
    sleep 0.05
  done
  local status=0
  wait "$pid" 2>/dev/null || status=$?
  # 127: not a child of this shell; its status is unknown.
  [ "$status" -eq 127 ] && status=0
  return "$status"
}

# The pid a display's lock file names (empty without a lock).
_xserver_lock_owner() {
  { tr -dc 0-9 <"/tmp/.X$1-lock"; } 2>/dev/null
}

# A display number is free when no lock file claims it, or when the process
# its lock names is gone: Xorg takes such a number over, replacing the stale
# lock and socket itself. A socket without a lock belongs to someone else.
_xserver_display_free() {
  local owner
  if [ -e "/tmp/.X$1-lock" ]; then
    owner=$(_xserver_lock_owner "$1")
    [ -n "$owner" ] && [ ! -e "/proc/$owner" ]
  else
    [ ! -e "/tmp/.X11-unix/X$1" ]
  fi
}

# Removes the lock file and the socket of display N that the server PID,
# now gone, left behind (a server ended by SIGKILL cannot remove them
# itself). Only while the lock still names PID: a server that has taken the
# number over since keeps its own.
xserver_remove_leftovers() { # xserver_remove_leftovers N PID
  [ -n "$2" ] && [ "$(_xserver_lock_owner "$1")" = "$2" ] && [ ! -e "/proc/$2" ] || return 0
  rm -f "/tmp/.X11-unix/X$1" "/tmp/.X$1-lock"
}

_xserver_answers() {
  xdpyinfo -display "$1" >/dev/null 2>&1
}

# Starts Xorg with the dummy driver on the first free display number from
# XSERVER_FIRST_DISPLAY (default 20) on, waits until it answers (at most
# XSERVER_TIMEOUT seconds, default 10), exports DISPLAY and registers
# xserver_stop to run at exit. When another server takes the same display
# number at the same moment, it moves on to the next one (3 tries). On
# failure prints the tail of the Xorg log and returns 1.
#
# About the configuration path: run as root, Xorg takes an absolute path for
# -config. A relative path is not taken relative to the working directory
# but searched under /etc/X11 and the like, so always pass an absolute one.
# -configdir points at an almost empty directory of our own so that snippets
# in /etc/X11/xorg.conf.d on a developer machine do not leak in (an empty
# directory there is reported as an error in the log, hence the placeholder).
# Non-root users would need the Xorg setuid wrapper (xserver-xorg-legacy),
# which only accepts relative config paths; tests are meant to run as root.
xserver_start() {
  if [ -n "$XSERVER_PID" ] && kill -0 "$XSERVER_PID" 2>/dev/null; then
    echo "xserver_start: already running on $XSERVER_DISPLAY" >&2
    return 1
  fi
  if [ ! -r "$XSERVER_CONF" ]; then
    echo "xserver_start: cannot read $XSERVER_CONF" >&2
    return 1
  fi
  if ! command -v Xorg >/dev/null; then
    echo "xserver_start: Xorg not found (install xserver-xorg-core)" >&2
    return 1
  fi
  local n=${XSERVER_FIRST_DISPLAY:-20} last attempts=0
  last=$((n + 80))
  XSERVER_TMPDIR=$(mktemp -d /tmp/e2e-xorg.XXXXXX)
  mkdir -p "$XSERVER_TMPDIR/conf.d"
  echo "# Intentionally empty: keeps system snippets out." >"$XSERVER_TMPDIR/conf.d/00-empty.conf"
  e2e_on_exit xserver_stop

  while [ "$n" -le "$last" ] && [ "$attempts" -lt 3 ]; do
    if ! _xserver_display_free "$n"; then
      n=$((n + 1))
      continue
    fi
    attempts=$((attempts + 1))
    XSERVER_DISPLAY=:$n
    XSERVER_LOG=$XSERVER_TMPDIR/Xorg.$n.log
    # shellcheck disable=SC2086 # XSERVER_ARGS is a list of words
    Xorg "$XSERVER_DISPLAY" -config "$XSERVER_CONF" \
      -configdir "$XSERVER_TMPDIR/conf.d" \
      -noreset -nolisten tcp -logfile "$XSERVER_LOG" $XSERVER_ARGS \
      </dev/null >"$XSERVER_TMPDIR/Xorg.$n.out" 2>&1 &
    XSERVER_PID=$!

    local deadline
    deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "${XSERVER_TIMEOUT:-10}")))
    while :; do
      # The lock file holds the pid of the server owning the display: check
      # that the one answering is ours, not one that won a race for it.
      if [ "$(_xserver_lock_owner "$n")" = "$XSERVER_PID" ] &&
        _xserver_answers "$XSERVER_DISPLAY"; then
        export DISPLAY=$XSERVER_DISPLAY
        return 0
      fi
      if ! kill -0 "$XSERVER_PID" 2>/dev/null; then
        wait "$XSERVER_PID" 2>/dev/null
        xserver_remove_leftovers "$n" "$XSERVER_PID"
        XSERVER_PID=
        # Another server took this display number meanwhile: try the next.
        if grep -qs 'already active for display' "$XSERVER_TMPDIR/Xorg.$n.out" "$XSERVER_LOG"; then
          n=$((n + 1))
          continue 2
        fi
        echo "xserver_start: Xorg on $XSERVER_DISPLAY exited early" >&2
        _xserver_print_log
        return 1
      fi
      if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
        echo "xserver_start: Xorg on $XSERVER_DISPLAY did not answer within ${XSERVER_TIMEOUT:-10} s" >&2
        e2e_kill "$XSERVER_PID" 5
        xserver_remove_leftovers "$n" "$XSERVER_PID"
        XSERVER_PID=
        _xserver_print_log
        return 1
      fi
      sleep 0.05
    done
  done
  echo "xserver_start: no free display number found" >&2
  return 1
}

_xserver_print_log() {
  local f
  for f in "$XSERVER_LOG" "${XSERVER_LOG%.log}.out"; do
    [ -s "$f" ] || continue
    echo "---- tail of $f ----" >&2
    tail -n 30 "$f" >&2
  done
}

# Stops the X server started by xserver_start and waits for it to end
# (SIGTERM, then SIGKILL after 5 s); removes its lock file and socket when it
# could not (it was killed, by this or by the test). Safe to call twice.
# Keeps the log when XSERVER_KEEP_LOG=1, otherwise removes the temporary
# directory.
xserver_stop() {
  if [ -n "$XSERVER_PID" ]; then
    e2e_kill "$XSERVER_PID" 5
    xserver_remove_leftovers "${XSERVER_DISPLAY#:}" "$XSERVER_PID"
    XSERVER_PID=
  fi
  if [ -n "$XSERVER_TMPDIR" ] && [ "${XSERVER_KEEP_LOG:-0}" != 1 ]; then
    rm -rf "$XSERVER_TMPDIR"
    XSERVER_TMPDIR=
  fi
  return 0
}

# Prints the current screen size as WxH, e.g. 1280x1024.
xserver_mode() {
  # The mode the first connected output shows now ("DUMMY0 connected
  # primary 640x480+0+0 ..."): a mode switch changes what the output shows,
  # while the screen (the desktop's size) may stay as it was.
  xrandr --current 2>/dev/null |
    sed -n 's/^[^ ]* connected \(primary \)\{0,1\}\([0-9]*x[0-9]*\)+.*/\2/p' |
    head -n 1
}

# Lists "ID KIND" for every window named exactly NAME, topmost first, where
# KIND is "app" when the window has a WM_CLASS (SDL sets one on its windows)
# and "box" when it has none (SDL's X11 message boxes set none). Reads
# xwininfo, which shows _NET_WM_NAME (UTF-8) as SDL sets it; xdotool search
# --name does not reliably match non-ASCII names.
_list_windows() {
  xwininfo -root -tree 2>/dev/null | awk -v want="\"$1\": (" '
    $1 ~ /^0x[0-9a-f]+$/ {
      rest = substr($0, index($0, $1) + length($1) + 1)
      if (index(rest, want) == 1) {
        kind = (substr(rest, length(want) + 1, 1) == ")") ? "box" : "app"
        print $1, kind
      }
    }'
}

_window_viewable() {
  xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# Prints the id of the first mapped (viewable) window named NAME of KIND
# (app, box or any).
_find_window() {
  local id kind
  while read -r id kind; do
    [ "$2" = any ] || [ "$2" = "$kind" ] || continue
    # A box already answered (see answer_message_box) may linger a moment.
    [ "$kind" = box ] && [ "$2" = box ] && _window_marked "$id" && continue
    if _window_viewable "$id"; then
      echo "$id"
      return 0
    fi
  done < <(_list_windows "$1")
  return 1
}

_wait_window_kind() {
  local name=$1 timeout=$2 kind=$3 deadline id
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$timeout")))
  while :; do
    if id=$(_find_window "$name" "$kind"); then
      echo "$id"
      return 0
    fi
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "wait_for_window: no mapped $kind window \"$name\" after $timeout s" >&2
      return 1
    fi
    sleep 0.05
  done
}

# Waits up to TIMEOUT seconds for a mapped application window named NAME
# and prints its id. SDL creates its window before showing it, so a window
# that only exists is not enough: it must be viewable. Message boxes of the
# same name are skipped (see wait_for_message_box).
wait_for_window() {
  _wait_window_kind "$1" "$2" app
}

# Waits up to TIMEOUT seconds for a mapped SDL message box titled NAME and
# prints its id. Two boxes shown one after the other may get the same id.
wait_for_message_box() {
  _wait_window_kind "$1" "$2" box
}

# Waits up to TIMEOUT seconds until no mapped window named NAME (application
# window or message box) is left, or, when the argument is a window id
# (0x...), until that window is destroyed or unmapped.
wait_for_window_gone() {
  local what=$1 deadline
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$2")))
  while :; do
    if [[ $what =~ ^0x[0-9a-fA-F]+$ ]]; then
      _window_viewable "$what" || return 0
    else
      _find_window "$what" any >/dev/null || return 0
    fi
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "wait_for_window_gone: \"$what\" still there after $2 s" >&2
      return 1
    fi
    sleep 0.05
  done
}

# Prints "x y w h" of window ID in root coordinates.
# An empty ID fails at once (xwininfo would wait for a click instead).
window_geometry() {
  [ -n "$1" ] || return 1
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/  { w = $NF }
    /^ *Height:/ { h = $NF }
    END { if (w == "") exit 1; print x, y, w, h }'
}

# Sends KEY (an xdotool/X keysym name such as Escape, Return, space) to the
# window ID through XTEST, as a user would: pointer over the window, then the
# key. Without a window manager the keys go to the X input focus; SDL sets
# the focus to its window when showing it, and when the focus is the root
# window (e.g. after a focused message box went away) they go to the window
# under the pointer. (xdotool key --window would use XSendEvent, whose
# synthetic events SDL ignores.) The key is held for half of
# E2E_KEY_DELAY_MS (default 100, so 50 ms): xdotool's own default holds it
# about 6 ms, short enough for a program that samples SDL_GetKeyboardState
# once per frame to miss it.
send_key() {
  local id=$1 key=$2 geo x y w h
  geo=$(window_geometry "$id") || { echo "send_key: no window $id" >&2; return 1; }
  read -r x y w h <<<"$geo"
  # One xdotool call, so the motion is processed before the key. No --sync:
  # it never returns when the pointer is already at that spot.
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) \
    key --delay "${E2E_KEY_DELAY_MS:-100}" "$key"
}

# Like send_key, but first gives window ID the input focus (as a window
# manager would when the user clicks it). Needed for SDL message boxes: they
# do not take the focus themselves, so keys would go to the SDL window.
send_key_focused() {
  local id=$1 key=$2 geo x y w h
  geo=$(window_geometry "$id") || { echo "send_key_focused: no window $id" >&2; return 1; }
  read -r x y w h <<<"$geo"
  xdotool windowfocus "$id" mousemove $((x + w / 2)) $((y + h / 2)) \
    key --delay "${E2E_KEY_DELAY_MS:-100}" "$key"
}

# Answers the SDL message box ID with KEY (default Return: the default
# button of SDL_ShowSimpleMessageBox) and waits up to TIMEOUT seconds
# (default 5) for the box to go away. One key press closes one box.
# A second box shown right after the first often gets the same window id,
# so the answered box is first marked with a property of our own: it is
# gone when no mapped window with that id still carries the mark.
answer_message_box() {
  local id=$1 key=${2:-Return} timeout=${3:-5} deadline
  xprop -id "$id" -f "$_E2E_MARK" 32c -set "$_E2E_MARK" 1 2>/dev/null ||
    { echo "answer_message_box: no window $id" >&2; return 1; }
  send_key_focused "$id" "$key" || return 1
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$timeout")))
  while _window_viewable "$id" && _window_marked "$id"; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "answer_message_box: box $id still there after $timeout s" >&2
      return 1
    fi
    sleep 0.05
  done
}

_E2E_MARK=_WINTERHAIN_E2E_ANSWERED
_window_marked() {
  xprop -id "$1" "$_E2E_MARK" 2>/dev/null | grep -q ' = '
}

# Asks window ID to close as a window manager would (WM_DELETE_WINDOW
# client message); SDL turns it into SDL_WINDOWEVENT_CLOSE and, for the
# last window, SDL_QUIT. Builds wm_close.c on first use into
# E2E_TOOLS_DIR (default /tmp/winterhain-e2e-tools). Needs cc and libx11-dev.
send_wm_close() {
  local tool
  tool=$(e2e_tool wm_close) || return 1
  "$tool" "$1"
}

# Prints the path of the small X client NAME built from NAME.c next to this
# file (on first use, into E2E_TOOLS_DIR, default /tmp/winterhain-e2e-tools).
# Needs cc and libx11-dev.
e2e_tool() { # e2e_tool NAME
  local dir=${E2E_TOOLS_DIR:-/tmp/winterhain-e2e-tools}
  local tool=$dir/$1
  if [ ! -x "$tool" ] || [ "$E2E_DIR/$1.c" -nt "$tool" ]; then
    if ! { mkdir -p "$dir" &&
      cc -O2 -o "$tool.tmp.$$" "$E2E_DIR/$1.c" -lX11 &&
      mv -f "$tool.tmp.$$" "$tool"; }; then
      echo "e2e_tool: cannot build $1" >&2
      return 1
    fi
  fi
  echo "$tool"
}

# Sets the screen mode with xrandr (e.g. to undo what a killed program left)
# and waits up to 5 s until it reads back.
xserver_set_mode() {
  local want=$1 deadline
  xrandr -s "$want" || return 1
  deadline=$(($(_e2e_now_ms) + 5000))
  until [ "$(xserver_mode)" = "$want" ]; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "xserver_set_mode: still $(xserver_mode), wanted $want" >&2
      return 1
    fi
    sleep 0.05
  done
}

# Saves a picture of window ID (default: the whole screen) to FILE with
# ImageMagick's import; the format follows FILE's extension (.png, .ppm, ...).
screenshot() {
  import -window "${2:-root}" "$1"
}
