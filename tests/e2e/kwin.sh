# shellcheck shell=bash
# Helpers for end-to-end tests on KDE's compositor: KWin 5.27 on Wayland,
# nested in a private Xvfb whose root window shows KWin's output. Source
# after common.sh.
#
#   kwin_start WxH || exit   start Xvfb, a session bus and KWin (stopping
#                            ones started before); exports WAYLAND_DISPLAY
#                            and XDG_RUNTIME_DIR, sets KWIN_X_DISPLAY (the
#                            Xvfb); exits 77, saying why, where KWin cannot
#                            run
#   kwin_screenshot FILE     the output's pixels (import on the Xvfb)
#   kwin_stop                stop all three (also runs at exit)
#
# KWin runs as an unprivileged user (nobody, when the test runs as root),
# from a copy of its binary: the installed one carries a file capability
# that a container refuses to execute. Its runtime folder is one of its own
# that the root-run program can reach. The Xvfb takes the first number from
# XSERVER_FIRST_DISPLAY (default 20) with neither lock file nor socket, as
# the X servers of xserver.sh do, and leaves none behind.
# Needs: kwin-wayland, xvfb, dbus-daemon, imagemagick (import), x11-utils.

KWIN_PID=
KWIN_BUS_PID=
KWIN_XVFB_PID=
KWIN_DIR=
KWIN_X_DISPLAY=
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

kwin_start() { # kwin_start WxH
  local tool
  for tool in kwin_wayland Xvfb dbus-daemon import xdpyinfo setpriv; do
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
    "$KWIN_DIR/kwin_wayland" --x11-display "$KWIN_X_DISPLAY" --width "${1%x*}" \
    --height "${1#*x}" --socket kwin-test --no-lockscreen >"$KWIN_DIR/kwin.log" 2>&1 &
  KWIN_PID=$!
  if ! e2e_wait_until 20 test -S "$KWIN_DIR/kwin-test"; then
    kill -0 "$KWIN_PID" 2>/dev/null || { e2e_print_logs "$KWIN_DIR"; e2e_skip "KWin cannot run here"; }
    e2e_print_logs "$KWIN_DIR"
    echo "kwin_start: no socket after 20 s" >&2
    return 1
  fi
  export WAYLAND_DISPLAY=kwin-test XDG_RUNTIME_DIR=$KWIN_DIR
  echo "     KWin $1 on $WAYLAND_DISPLAY, nested in Xvfb $KWIN_X_DISPLAY"
}

kwin_screenshot() { import -display "$KWIN_X_DISPLAY" -window root "$1" 2>/dev/null; }

# Xvfb removes its lock file and socket when it ends; after a KILL they are
# removed here.
kwin_stop() {
  local pid
  for pid in "$KWIN_PID" "$KWIN_BUS_PID" "$KWIN_XVFB_PID"; do e2e_kill "$pid"; done
  [ -n "$KWIN_XVFB_PID" ] && xserver_remove_leftovers "${KWIN_X_DISPLAY#:}" "$KWIN_XVFB_PID"
  KWIN_PID='' KWIN_BUS_PID='' KWIN_XVFB_PID=''
  [ -n "$KWIN_DIR" ] && rm -rf "$KWIN_DIR"
  KWIN_DIR=
  return 0
}
