# shellcheck shell=bash
# Helpers for end-to-end tests on a Wayland desktop: sway, headless, with
# outputs of chosen sizes, and its Xwayland. Source after common.sh.
#
#   sway_start WxH [WxH...] || exit
#                                start sway (stopping one started before)
#                                with outputs HEADLESS-1, HEADLESS-2... of
#                                these sizes;
#                                exports WAYLAND_DISPLAY, XDG_RUNTIME_DIR and
#                                SWAYSOCK, sets SWAY_X_DISPLAY (exits 77,
#                                saying why, where sway cannot run); every
#                                output at scale SWAY_SCALE where it is set
#   sway_window PID WxH[+X+Y] TIMEOUT  wait until PID's window is
#                                fullscreen, covering the WxH output at
#                                X,Y (0,0 if not given; sway's own tree)
#   sway_screenshot FILE [OUT]   the pixels of output OUT (HEADLESS-1; grim)
#   sway_key KEY                 press and release KEY (wtype, after 100 ms)
#   sway_close PID               the compositor's close request to PID's window
#   sway_refuse_x_clients_of_others  Xwayland admits sway's user only
#                                (takes back the grant to root)
#   sway_nest || exit            a second sway inside the running one
#                                (wlroots' wayland backend, no Xwayland):
#                                its output WL-N in a window covering
#                                HEADLESS-N; exports its WAYLAND_DISPLAY and
#                                SWAYSOCK (the outer one's in SWAY_OUTER_SOCK)
#   sway_unplug OUTPUT           the nested sway loses OUTPUT, as when a
#                                monitor's cable is pulled: the outer sway
#                                closes its window
#
# sway refuses to run as root: as root it runs as nobody, in a runtime
# folder of its own that the root-run program, grim and wtype can reach.
#
# Xwayland's display number cannot be chosen: sway 1.7 (wlroots 0.15) takes
# the first free one from :0 up to :32 (skipping numbers whose lock file
# /tmp/.X<N>-lock names a live process), writes its own pid into that lock
# and removes lock and socket when it ends. sway_stop ends it with SIGTERM
# so it can; after a SIGKILL, sway_stop removes them.
# Needs: sway, xwayland, grim, wtype, jq, xhost (x11-xserver-utils).

SWAY_PID=
SWAY_KEYBOARD_PID=
SWAY_DIR=
SWAY_X_DISPLAY=
SWAY_NESTED_PID=
SWAY_OUTER_SOCK=
_SWAY_EXIT_SET=

# The compositor's socket name, once sway listens on both of its sockets.
_sway_sockets() {
  local socket
  compgen -G "$SWAY_DIR/sway-ipc.*.sock" >/dev/null || return 1
  for socket in "$SWAY_DIR"/wayland-[0-9]*; do
    [ -S "$socket" ] && basename "$socket" && return 0
  done
  return 1
}

# The display sway gives its X clients, as seen by a command it starts.
_sway_read_x_display() {
  swaymsg -q exec "echo \$DISPLAY > $SWAY_DIR/display" || return 1
  e2e_wait_until 10 test -s "$SWAY_DIR/display" || return 1
  SWAY_X_DISPLAY=$(cat "$SWAY_DIR/display")
  [ -n "$SWAY_X_DISPLAY" ]
}

_sway_print_log() {
  echo "----- sway log (last lines) -----"
  tail -n 20 "$SWAY_DIR/sway.log" 2>/dev/null
}

sway_start() { # sway_start WxH [WxH...]
  local tool n
  for tool in sway Xwayland grim wtype jq xhost setpriv; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed (scripts/deps installs it)"
  done
  sway_stop
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK I3SOCK DBUS_SESSION_BUS_ADDRESS SDL_VIDEODRIVER
  SWAY_DIR=$(mktemp -d /tmp/winterhain-sway.XXXXXX)
  e2e_on_exit rm -rf "$SWAY_DIR"
  for n in $(seq 1 $#); do printf 'output HEADLESS-%s mode %s\n' "$n" "${!n}"; done >"$SWAY_DIR/config"
  [ -z "${SWAY_SCALE:-}" ] || echo "output * scale $SWAY_SCALE" >>"$SWAY_DIR/config"
  echo 'xwayland enable' >>"$SWAY_DIR/config"
  [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$SWAY_DIR"
  chmod 700 "$SWAY_DIR"
  # One simple command, so that $! is sway itself (setpriv and env exec).
  "${E2E_UNPRIVILEGED[@]}" env -i PATH="$PATH" HOME="$SWAY_DIR" XDG_RUNTIME_DIR="$SWAY_DIR" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=$# \
    sway -c "$SWAY_DIR/config" >"$SWAY_DIR/sway.log" 2>&1 &
  SWAY_PID=$!
  [ -n "$_SWAY_EXIT_SET" ] || e2e_on_exit sway_stop
  _SWAY_EXIT_SET=1
  export XDG_RUNTIME_DIR=$SWAY_DIR
  if ! e2e_wait_until 20 _sway_sockets >/dev/null; then
    kill -0 "$SWAY_PID" 2>/dev/null || { _sway_print_log; e2e_skip "sway cannot run here"; }
    _sway_print_log
    echo "sway_start: no sockets after 20 s" >&2
    return 1
  fi
  WAYLAND_DISPLAY=$(_sway_sockets)
  SWAYSOCK=$(compgen -G "$SWAY_DIR/sway-ipc.*.sock" | head -n 1)
  export WAYLAND_DISPLAY SWAYSOCK
  _sway_read_x_display || { _sway_print_log; echo "sway_start: no Xwayland display" >&2; return 1; }
  # Xwayland admits only sway's user; the tests' other clients run as root.
  [ "$(id -u)" -eq 0 ] && "${E2E_UNPRIVILEGED[@]}" env DISPLAY="$SWAY_X_DISPLAY" xhost +si:localuser:root >/dev/null
  _sway_hold_keyboard || { _sway_print_log; echo "sway_start: no keyboard" >&2; return 1; }
  echo "     sway $* on $WAYLAND_DISPLAY, Xwayland on $SWAY_X_DISPLAY"
}

_sway_has_keyboard() { swaymsg -t get_inputs | jq -e 'any(.[]; .type == "keyboard")' >/dev/null; }

# The headless seat has no keyboard. A client learns of one only when it
# comes, so a keyboard made just for one key press (as wtype makes) could
# press before the client listens; one virtual keyboard therefore stays
# while sway runs, and later key presses reach clients that already listen.
# Its keymap must hold a key (F24, pressed before any window exists), and
# no client may start after a keyboard that pressed keys has gone: in both
# cases the client gets no usable keymap and SDL 2.26 crashes on it. Tests
# therefore start sway afresh for each run of the program.
_sway_hold_keyboard() {
  wtype -k F24 -s 86400000 &
  SWAY_KEYBOARD_PID=$!
  e2e_wait_until 10 _sway_has_keyboard
}

# wlroots writes sway's pid into the lock file of the X display it opens for
# Xwayland. Removes the lock file and socket of every display whose lock
# names PID, a sway that is gone: one ended by SIGKILL cannot remove them.
_sway_remove_x_leftovers() { # _sway_remove_x_leftovers PID
  local lock n
  for lock in /tmp/.X*-lock; do
    n=${lock#/tmp/.X}
    xserver_remove_leftovers "${n%-lock}" "$1"
  done
}

# TERM lets sway stop its Xwayland and remove the sockets of both (the X
# display's lock file and socket included); after a KILL the leftovers are
# removed here.
sway_stop() {
  _sway_stop_nested
  e2e_kill "$SWAY_KEYBOARD_PID"
  SWAY_KEYBOARD_PID=
  [ -n "$SWAY_PID" ] || return 0
  kill -TERM "$SWAY_PID" 2>/dev/null
  if ! wait_pid_exit "$SWAY_PID" 10 >/dev/null 2>&1 && kill -0 "$SWAY_PID" 2>/dev/null; then
    kill -KILL "$SWAY_PID" 2>/dev/null
    wait "$SWAY_PID" 2>/dev/null
  fi
  _sway_remove_x_leftovers "$SWAY_PID"
  SWAY_PID=
}

# The rectangle follows the client's first frame at the new size, a little
# after the window is marked fullscreen.
_sway_fullscreen_window() { # _sway_fullscreen_window PID WxH
  local place=$2
  [[ $place == *+* ]] || place=$place+0+0
  swaymsg -t get_tree | jq -ec --argjson pid "$1" --arg place "$place" 'first(.. | objects |
    select(.pid? == $pid and .fullscreen_mode == 1 and
           "\(.rect.width)x\(.rect.height)+\(.rect.x)+\(.rect.y)" == $place))'
}

sway_window() { # sway_window PID WxH[+X+Y] TIMEOUT
  local deadline
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$3")))
  until _sway_fullscreen_window "$1" "$2" >/dev/null; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "     no fullscreen $2 window of $1; its windows:"
      swaymsg -t get_tree | jq -c --argjson pid "$1" '.. | objects | select(.pid? == $pid) |
        {fullscreen_mode, rect}' | sed 's/^/     /'
      return 1
    fi
    sleep 0.05
  done
}

sway_screenshot() { grim -o "${2:-HEADLESS-1}" "$1"; }

sway_key() { wtype -s 100 -k "$1"; }

sway_close() { swaymsg -q "[pid=$1]" kill; }

sway_refuse_x_clients_of_others() {
  [ "$(id -u)" -eq 0 ] || return 0
  "${E2E_UNPRIVILEGED[@]}" env DISPLAY="$SWAY_X_DISPLAY" xhost -si:localuser:root >/dev/null
}

# The nested sway shares the outer one's runtime folder: its sockets are
# the ones the outer sway did not make.
_sway_nested_sockets() {
  local socket found=
  for socket in "$SWAY_DIR"/wayland-[0-9]*; do
    [ -S "$socket" ] && [ "$(basename "$socket")" != "$WAYLAND_DISPLAY" ] && found=$(basename "$socket")
  done
  [ -n "$found" ] || return 1
  for socket in "$SWAY_DIR"/sway-ipc.*.sock; do
    [ -S "$socket" ] && [ "$socket" != "$SWAYSOCK" ] && echo "$found $socket" && return 0
  done
  return 1
}

# Each of the nested sway's outputs is a toplevel window of the outer one
# (titled "wlroots - WL-N") and has that window's size: with no border,
# alone on an outer output, that output's size.
sway_nest() {
  local n count sockets
  count=$(swaymsg -t get_outputs | jq length)
  swaymsg -q default_border none || return 1
  for n in $(seq 1 "$count"); do
    swaymsg -q "for_window [app_id=wlroots title=\"- WL-$n\$\"] move container to output HEADLESS-$n" || return 1
  done
  echo 'xwayland disable' >"$SWAY_DIR/nested.config"
  "${E2E_UNPRIVILEGED[@]}" env -i PATH="$PATH" HOME="$SWAY_DIR" XDG_RUNTIME_DIR="$SWAY_DIR" \
    WAYLAND_DISPLAY="$WAYLAND_DISPLAY" WLR_BACKENDS=wayland WLR_RENDERER=pixman WLR_WL_OUTPUTS="$count" \
    sway -c "$SWAY_DIR/nested.config" >"$SWAY_DIR/nested.log" 2>&1 &
  SWAY_NESTED_PID=$!
  if ! sockets=$(e2e_wait_until 20 _sway_nested_sockets); then
    tail -n 20 "$SWAY_DIR/nested.log"
    echo "sway_nest: no sockets after 20 s" >&2
    return 1
  fi
  SWAY_OUTER_SOCK=$SWAYSOCK
  read -r WAYLAND_DISPLAY SWAYSOCK <<<"$sockets"
  export WAYLAND_DISPLAY SWAYSOCK
  for n in $(seq 1 "$count"); do
    e2e_wait_until 10 _sway_covers "WL-$n" "HEADLESS-$n" ||
      { echo "sway_nest: WL-$n does not cover HEADLESS-$n" >&2; return 1; }
  done
  echo "     sway nested on $WAYLAND_DISPLAY, outputs WL-1 to WL-$count"
}

_sway_output_size() { # _sway_output_size SOCKET NAME: WxH, or nothing
  swaymsg -s "$1" -t get_outputs |
    jq -r --arg name "$2" '.[] | select(.name == $name) | "\(.rect.width)x\(.rect.height)"'
}

# Nested output INNER has the size of outer output OUTER.
_sway_covers() { # _sway_covers INNER OUTER
  local size
  size=$(_sway_output_size "$SWAYSOCK" "$1")
  [ -n "$size" ] && [ "$size" = "$(_sway_output_size "$SWAY_OUTER_SOCK" "$2")" ]
}

_sway_has_no_output() { [ -z "$(_sway_output_size "$SWAYSOCK" "$1")" ]; }

# wlroots destroys the output whose window the outer compositor closes.
sway_unplug() { # sway_unplug OUTPUT
  swaymsg -s "$SWAY_OUTER_SOCK" -q "[app_id=wlroots title=\"- $1\$\"] kill" &&
    e2e_wait_until 10 _sway_has_no_output "$1"
}

_sway_stop_nested() {
  [ -n "$SWAY_NESTED_PID" ] || return 0
  kill -TERM "$SWAY_NESTED_PID" 2>/dev/null
  if ! wait_pid_exit "$SWAY_NESTED_PID" 10 >/dev/null 2>&1 && kill -0 "$SWAY_NESTED_PID" 2>/dev/null; then
    kill -KILL "$SWAY_NESTED_PID" 2>/dev/null
    wait "$SWAY_NESTED_PID" 2>/dev/null
  fi
  SWAY_NESTED_PID=
}
