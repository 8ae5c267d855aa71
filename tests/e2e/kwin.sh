# shellcheck shell=bash
# Helpers for end-to-end tests on KDE's compositor: KWin 5.27 on Wayland,
# with its Xwayland, nested in a private Xvfb whose root window shows KWin's
# output. Source after common.sh.
#
#   kwin_start WxH [SCALE] || exit
#                            start Xvfb, a session bus and KWin (stopping
#                            ones started before), its output WxH device
#                            pixels at SCALE (default 1); exports
#                            WAYLAND_DISPLAY and XDG_RUNTIME_DIR, sets
#                            KWIN_X_DISPLAY (the Xvfb) and
#                            KWIN_XWAYLAND_DISPLAY (KWin's Xwayland, which
#                            admits the test's user); exits 77, saying why,
#                            where KWin cannot run
#   kwin_screenshot FILE     the output's pixels (import on the Xvfb)
#   kwin_key KEY             a key pressed on KWin's keyboard (the Xvfb's)
#   kwin_stop                stop them all (also runs at exit)
#
# KWin runs as an unprivileged user (nobody, when the test runs as root),
# from a copy of its binary: the installed one carries a file capability
# that a container refuses to execute. Its runtime folder is one of its own
# that the root-run program can reach. The Xvfb takes the first number from
# XSERVER_FIRST_DISPLAY (default 20) with neither lock file nor socket, as
# the X servers of xserver.sh do, and leaves none behind.
#
# KWin 5.27 gives its output the logical size --width x --height, and its
# window on the Xvfb that size times --scale. It takes its Xwayland's
# display number itself, the first free one from :0, and writes its own pid
# into that display's lock file, which it removes when it ends; after a
# SIGKILL, kwin_stop removes it. The Xwayland ends once KWin is gone.
# Needs: kwin-wayland, xwayland, xvfb, dbus-daemon, imagemagick (import),
# x11-utils, x11-xserver-utils (xhost), xdotool.

KWIN_PID=
KWIN_BUS_PID=
KWIN_XVFB_PID=
KWIN_DIR=
KWIN_X_DISPLAY=
KWIN_XWAYLAND_DISPLAY=
KWIN_XWAYLAND_PID=
_KWIN_EXIT_SET=

_kwin_env=()

# Xvfb runs as KWin's user, who cannot take over another user's stale lock
# in /tmp: only numbers with neither lock file nor socket will do.
_kwin_display_unused() { [ ! -e "/tmp/.X$1-lock" ] && [ ! -e "/tmp/.X11-unix/X$1" ]; }

# Ours once the lock file names our Xvfb and the display answers.
_kwin_xvfb_answers() {
  [ "$(_xserver_lock_owner "${KWIN_X_DISPLAY#:}")" = "$KWIN_XVFB_PID" ] &&
    _xserver_answers "$KWIN_X_DISPLAY"
}

_kwin_start_xvfb() { # _kwin_start_xvfb WxH
  local n=${XSERVER_FIRST_DISPLAY:-20} last
  last=$((n + 80))
  while [ "$n" -le "$last" ] && ! _kwin_display_unused "$n"; do n=$((n + 1)); done
  KWIN_X_DISPLAY=:$n
  "${_kwin_env[@]}" Xvfb "$KWIN_X_DISPLAY" -screen 0 "${1}x24" -nolisten tcp \
    >"$KWIN_DIR/xvfb.log" 2>&1 &
  KWIN_XVFB_PID=$!
  e2e_wait_until 10 _kwin_xvfb_answers
}

_kwin_start_bus() {
  "${_kwin_env[@]}" dbus-daemon --session --nofork --print-address=1 >"$KWIN_DIR/bus.address" \
    2>"$KWIN_DIR/bus.log" &
  KWIN_BUS_PID=$!
  e2e_wait_until 10 test -s "$KWIN_DIR/bus.address"
}

# The display whose lock file names KWin.
_kwin_xwayland_display() {
  local lock n
  for lock in /tmp/.X*-lock; do
    n=${lock#/tmp/.X}
    n=${n%-lock}
    [ "$(_xserver_lock_owner "$n")" = "$KWIN_PID" ] && echo ":$n" && return 0
  done
  return 1
}

# Xwayland admits only KWin's user until told otherwise: once it answers,
# it admits the test's user too.
_kwin_xwayland_admits_us() {
  "${_kwin_env[@]}" DISPLAY="$KWIN_XWAYLAND_DISPLAY" xhost "+si:localuser:$(id -un)" >/dev/null 2>&1
}

_kwin_start_xwayland() {
  e2e_wait_until 20 _kwin_xwayland_display >/dev/null || return 1
  KWIN_XWAYLAND_DISPLAY=$(_kwin_xwayland_display)
  e2e_wait_until 20 _kwin_xwayland_admits_us || return 1
  KWIN_XWAYLAND_PID=$(pgrep -P "$KWIN_PID" -x Xwayland)
}

kwin_start() { # kwin_start WxH [SCALE]
  local tool scale=${2:-1}
  for tool in kwin_wayland Xwayland Xvfb dbus-daemon import xdpyinfo xhost xdotool setpriv; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (scripts/deps installs it)"
  done
  kwin_stop
  unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SDL_VIDEODRIVER
  KWIN_DIR=$(mktemp -d /tmp/winterhain-kwin.XXXXXX)
  [ -n "$_KWIN_EXIT_SET" ] || e2e_on_exit kwin_stop
  _KWIN_EXIT_SET=1
  cp "$(command -v kwin_wayland)" "$KWIN_DIR/kwin_wayland"
  [ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$KWIN_DIR"
  chmod 700 "$KWIN_DIR"
  # Runs a command as KWin's user with nothing of the test's environment,
  # as one simple command, so that $! is the command itself (setpriv and
  # env exec).
  _kwin_env=("${E2E_UNPRIVILEGED[@]}" env -i PATH="$PATH" HOME="$KWIN_DIR" XDG_RUNTIME_DIR="$KWIN_DIR")
  _kwin_start_xvfb "$1" || { e2e_print_logs "$KWIN_DIR"; echo "kwin_start: Xvfb did not answer" >&2; return 1; }
  _kwin_start_bus || { e2e_print_logs "$KWIN_DIR"; echo "kwin_start: no session bus" >&2; return 1; }
  "${_kwin_env[@]}" DBUS_SESSION_BUS_ADDRESS="$(cat "$KWIN_DIR/bus.address")" KWIN_COMPOSE=Q \
    "$KWIN_DIR/kwin_wayland" --x11-display "$KWIN_X_DISPLAY" --width "$((${1%x*} / scale))" \
    --height "$((${1#*x} / scale))" --scale "$scale" --socket kwin-test --no-lockscreen \
    --xwayland >"$KWIN_DIR/kwin.log" 2>&1 &
  KWIN_PID=$!
  if ! e2e_wait_until 20 test -S "$KWIN_DIR/kwin-test"; then
    kill -0 "$KWIN_PID" 2>/dev/null || { e2e_print_logs "$KWIN_DIR"; e2e_skip "KWin cannot run here"; }
    e2e_print_logs "$KWIN_DIR"
    echo "kwin_start: no socket after 20 s" >&2
    return 1
  fi
  _kwin_start_xwayland || { e2e_print_logs "$KWIN_DIR"; echo "kwin_start: no Xwayland" >&2; return 1; }
  export WAYLAND_DISPLAY=kwin-test XDG_RUNTIME_DIR=$KWIN_DIR
  echo "     KWin $1 at scale $scale on $WAYLAND_DISPLAY, Xwayland on $KWIN_XWAYLAND_DISPLAY," \
    "nested in Xvfb $KWIN_X_DISPLAY"
}

kwin_screenshot() { import -display "$KWIN_X_DISPLAY" -window root "$1" 2>/dev/null; }

# KWin's window covers the Xvfb, which has no window manager: the key goes
# to the window under the pointer.
kwin_key() { DISPLAY="$KWIN_X_DISPLAY" xdotool key "$1"; }

# Xvfb and KWin remove their lock files and sockets when they end; after a
# KILL they are removed here.
kwin_stop() {
  local pid
  for pid in "$KWIN_PID" "$KWIN_XWAYLAND_PID" "$KWIN_BUS_PID" "$KWIN_XVFB_PID"; do e2e_kill "$pid"; done
  [ -n "$KWIN_XWAYLAND_DISPLAY" ] && xserver_remove_leftovers "${KWIN_XWAYLAND_DISPLAY#:}" "$KWIN_PID"
  [ -n "$KWIN_XVFB_PID" ] && xserver_remove_leftovers "${KWIN_X_DISPLAY#:}" "$KWIN_XVFB_PID"
  KWIN_PID='' KWIN_XWAYLAND_PID='' KWIN_BUS_PID='' KWIN_XVFB_PID='' KWIN_XWAYLAND_DISPLAY=''
  [ -n "$KWIN_DIR" ] && rm -rf "$KWIN_DIR"
  KWIN_DIR=
  return 0
}
