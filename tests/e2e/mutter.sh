# shellcheck shell=bash
# Helpers for end-to-end tests on GNOME's compositor: mutter 43 on Wayland,
# nested in a private Xvfb whose root window shows mutter's output, with
# its Xwayland. Source after common.sh.
#
#   mutter_start WxH || exit   start Xvfb, a session bus and mutter (stopping
#                              ones started before); exports WAYLAND_DISPLAY
#                              and XDG_RUNTIME_DIR, sets E2E_PROGRAM_PREFIX
#                              (start_program runs the program as one of
#                              mutter's session, with its DISPLAY); exits
#                              77, saying why, where mutter cannot run
#   mutter_screenshot FILE     the output's pixels (import on the Xvfb)
#   mutter_key KEY             press and release KEY (xdotool on the Xvfb)
#   mutter_stop                stop all three (also runs at exit)
#
# mutter starts its Xwayland at the first free display number from :0, and
# no option steers it. So all of it runs in a mount and network namespace
# of its own (unshare -mn): a fresh tmpfs over /tmp holds the X servers'
# lock files and sockets, the private network holds their abstract
# sockets, and only mutter's own folder (and the checkout, where it lies
# under /tmp) is bound back in. Nothing there can
# touch another display, and nothing is left behind. The Xvfb is the first
# process in it; everything else enters beside it (nsenter).
# mutter runs as an unprivileged user (nobody, when the test runs as root).
# Needs: mutter, xwayland, xvfb, dbus-daemon, imagemagick (import),
# x11-utils, xdotool, util-linux (unshare, nsenter, setpriv).

MUTTER_XVFB_PID=
MUTTER_BUS_PID=
MUTTER_PID=
MUTTER_DIR=
MUTTER_X_DISPLAY=
_MUTTER_SESSION=()
_MUTTER_EXIT_SET=

_mutter_env=()

# The prefix that runs a command in mutter's namespaces, as one simple
# command (nsenter execs it), with the working folder "/".
_mutter_enter=()

# Runs a command there, with the caller's working folder (which must be
# reachable there).
mutter_run() { "${_mutter_enter[@]}" --wd="$PWD" -- "$@"; }

# The folders under /tmp that must stay reachable in there: mutter's own,
# and the repository, the build and the working folder where they lie
# under /tmp (a checkout in /tmp), each by its first folder under /tmp.
_mutter_kept_folders() {
  local path
  for path in "$MUTTER_DIR" "$PWD" "${WINTERHAIN_SOURCE_DIR:-}" "${WINTERHAIN_BUILD_DIR:-}"; do
    [[ "$path" == /tmp/?* ]] || continue
    path=${path#/tmp/}
    echo "${path%%/*}"
  done | sort -u
}

# The namespaces' first process: with /tmp replaced and the kept folders
# bound back (through a descriptor on the old /tmp), it becomes the Xvfb.
_mutter_start_xvfb() { # _mutter_start_xvfb WxH
  MUTTER_X_DISPLAY=:${XSERVER_FIRST_DISPLAY:-20}
  local kept
  kept=$(_mutter_kept_folders | tr '\n' ' ')
  # shellcheck disable=SC2016
  (exec unshare -mn -- sh -c 'exec 3</tmp && mount -t tmpfs -o mode=1777 tmpfs /tmp &&
    mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix &&
    for folder in $1; do
      mkdir -p "/tmp/$folder" && mount --no-canonicalize --bind "/proc/self/fd/3/$folder" "/tmp/$folder" || exit 1
    done && exec 3<&- && shift && exec "$@"' \
    sh "$kept" "${_mutter_env[@]}" Xvfb "$MUTTER_X_DISPLAY" -screen 0 "${1}x24" \
    -nolisten tcp) >"$MUTTER_DIR/xvfb.log" 2>&1 &
  MUTTER_XVFB_PID=$!
  _mutter_enter=(nsenter -t "$MUTTER_XVFB_PID" -m -n)
  e2e_wait_until 10 mutter_run xdpyinfo -display "$MUTTER_X_DISPLAY" >/dev/null 2>&1
}

_mutter_start_bus() {
  "${_mutter_enter[@]}" -- "${_mutter_env[@]}" dbus-daemon --session --nofork --print-address=1 \
    >"$MUTTER_DIR/bus.address" 2>"$MUTTER_DIR/bus.log" &
  MUTTER_BUS_PID=$!
  e2e_wait_until 10 test -s "$MUTTER_DIR/bus.address"
}

# mutter names the display it gives its X clients in its log; it admits
# them with the key it writes into its runtime folder. Ready once its X
# window manager has announced itself there: a window mapped before that
# may never be drawn.
_mutter_xwayland_answers() {
  local display auth
  display=$(2>/dev/null sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$MUTTER_DIR/mutter.log")
  auth=$(compgen -G "$MUTTER_DIR/.mutter-Xwaylandauth.*" | head -n 1)
  [ -n "$display" ] && [ -n "$auth" ] || return 1
  mutter_run env DISPLAY="$display" XAUTHORITY="$auth" xprop -root _NET_SUPPORTING_WM_CHECK \
    2>/dev/null | grep -q 'window id' || return 1
  _MUTTER_SESSION=(DISPLAY="$display" XAUTHORITY="$auth")
}

mutter_start() { # mutter_start WxH
  local tool
  for tool in mutter Xwayland Xvfb dbus-daemon import xdpyinfo xdotool unshare nsenter setpriv; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (scripts/deps installs it)"
  done
  mutter_stop
  unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SDL_VIDEODRIVER
  MUTTER_DIR=$(mktemp -d /tmp/winterhain-mutter.XXXXXX)
  [ -n "$_MUTTER_EXIT_SET" ] || e2e_on_exit mutter_stop
  _MUTTER_EXIT_SET=1
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$MUTTER_DIR"
  chmod 700 "$MUTTER_DIR"
  # Runs a command as mutter's user with nothing of the test's environment,
  # as one simple command, so that $! is the command itself (nsenter,
  # setpriv and env exec).
  _mutter_env=("${E2E_UNPRIVILEGED[@]}" env -i PATH="$PATH" HOME="$MUTTER_DIR" XDG_RUNTIME_DIR="$MUTTER_DIR")
  if ! _mutter_start_xvfb "$1"; then
    e2e_print_logs "$MUTTER_DIR"
    kill -0 "$MUTTER_XVFB_PID" 2>/dev/null || e2e_skip "no private mount and network namespace here"
    echo "mutter_start: Xvfb did not answer" >&2
    return 1
  fi
  _mutter_start_bus || { e2e_print_logs "$MUTTER_DIR"; echo "mutter_start: no session bus" >&2; return 1; }
  "${_mutter_enter[@]}" -- "${_mutter_env[@]}" DBUS_SESSION_BUS_ADDRESS="$(cat "$MUTTER_DIR/bus.address")" \
    DISPLAY="$MUTTER_X_DISPLAY" XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME \
    MUTTER_DEBUG_DUMMY_MODE_SPECS="$1" mutter --nested --wayland --wayland-display mutter-test \
    >"$MUTTER_DIR/mutter.log" 2>&1 &
  MUTTER_PID=$!
  if ! e2e_wait_until 20 _mutter_xwayland_answers; then
    kill -0 "$MUTTER_PID" 2>/dev/null || { e2e_print_logs "$MUTTER_DIR"; e2e_skip "mutter cannot run here"; }
    e2e_print_logs "$MUTTER_DIR"
    echo "mutter_start: no Xwayland after 20 s" >&2
    return 1
  fi
  export WAYLAND_DISPLAY=mutter-test XDG_RUNTIME_DIR=$MUTTER_DIR
  E2E_PROGRAM_PREFIX=("${_mutter_enter[@]}" -- env "${_MUTTER_SESSION[@]}"
    XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME)
  echo "     mutter $1 on $WAYLAND_DISPLAY, Xwayland on ${_MUTTER_SESSION[0]#DISPLAY=}," \
    "nested in Xvfb $MUTTER_X_DISPLAY (private)"
}

mutter_screenshot() { mutter_run import -display "$MUTTER_X_DISPLAY" -window root png:- >"$1" 2>/dev/null; }

mutter_key() { mutter_run env DISPLAY="$MUTTER_X_DISPLAY" xdotool key "$1"; }

# The namespaces end with their last process; their /tmp goes with them.
mutter_stop() {
  local pid
  for pid in "$MUTTER_PID" "$MUTTER_BUS_PID" "$MUTTER_XVFB_PID"; do e2e_kill "$pid"; done
  MUTTER_PID='' MUTTER_BUS_PID='' MUTTER_XVFB_PID=''
  E2E_PROGRAM_PREFIX=() _mutter_enter=()
  [ -n "$MUTTER_DIR" ] && rm -rf "$MUTTER_DIR"
  MUTTER_DIR=
  return 0
}
