# shellcheck shell=bash
# Helpers for running a real XScreenSaver 6 on a private Xvfb. Source after
# common.sh.
#
#   xvfb_start WxH [WxH...]      start Xvfb on a free display (one screen
#                                per size), export DISPLAY
#   xss_start PROGRAM            start xscreensaver with PROGRAM as its one
#                                hack ("GL: PROGRAM"), blanking only on request
#   xss_command ARG...           xscreensaver-command ARG... (-activate, ...)
#
# XScreenSaver refuses to run as root: as root it runs as nobody, with a
# home folder of its own (which also holds its settings file). Everything
# is stopped at exit. Needs: xvfb, xscreensaver, xscreensaver-gl, setpriv.

XVFB_PID=
XSS_PID=
XSS_HOME=

# Without an -auth file Xvfb admits every local client: root's tools and
# the screensaver's user alike. Numbers from XVFB_FIRST_DISPLAY, by default
# 100 above the X servers' own XSERVER_FIRST_DISPLAY.
xvfb_start() { # xvfb_start WxH [WxH...]
  local n=${XVFB_FIRST_DISPLAY:-$((${XSERVER_FIRST_DISPLAY:-20} + 100))} screens=() size
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  for size in "$@"; do screens+=(-screen "$((${#screens[@]} / 3))" "${size}x24"); done
  # -noreset: what a client leaves on the root window stays for the test to see.
  Xvfb ":$n" "${screens[@]}" -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  e2e_on_exit e2e_kill "$XVFB_PID"
  e2e_wait_until 10 _xvfb_answers "$n" || { echo "xvfb_start: Xvfb :$n did not answer" >&2; return 1; }
  export DISPLAY=:$n
}

# Our Xvfb answers on display N (the lock file names its pid, not a rival's).
_xvfb_answers() {
  [ "$({ tr -dc 0-9 <"/tmp/.X$1-lock"; } 2>/dev/null)" = "$XVFB_PID" ] &&
    xdpyinfo -display ":$1" >/dev/null 2>&1
}

xss_command() {
  "${E2E_UNPRIVILEGED[@]}" env HOME="$XSS_HOME" DISPLAY="${DISPLAY:-}" xscreensaver-command "$@" >/dev/null 2>&1
}

xss_start() { # xss_start PROGRAM
  XSS_HOME=$(mktemp -d /tmp/winterhain-xss.XXXXXX)
  e2e_on_exit rm -rf "$XSS_HOME"
  printf '%s\n' 'mode: one' 'selected: 0' 'timeout: 600' 'lock: False' 'splash: False' \
    'fade: False' 'unfade: False' "programs: GL: $1" >"$XSS_HOME/.xscreensaver"
  [ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$XSS_HOME"
  # Some session bus address, or SDL in the hack starts a bus of its own.
  "${E2E_UNPRIVILEGED[@]}" env -i PATH="$PATH" HOME="$XSS_HOME" DISPLAY="$DISPLAY" \
    DBUS_SESSION_BUS_ADDRESS=disabled: xscreensaver --no-splash >"$XSS_HOME/log" 2>&1 &
  XSS_PID=$!
  e2e_on_exit _xss_stop
  e2e_wait_until 10 xss_command -time || { echo "xss_start: xscreensaver does not answer" >&2; return 1; }
}

# Once: a caller that stops it itself leaves the exit handler nothing to do.
_xss_stop() {
  [ -n "${XSS_PID:-}" ] || return 0
  xss_command -exit
  e2e_kill "$XSS_PID"
  XSS_PID=
}
