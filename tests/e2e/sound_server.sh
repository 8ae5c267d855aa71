# shellcheck shell=bash
# Helpers for end-to-end tests against a sound server of the test's own,
# reached by the program through PULSE_SERVER. Source after common.sh.
#
#   pulse_start SCRIPT    PulseAudio running the commands in SCRIPT (after
#                         module-native-protocol-unix); sets SOUND_SERVER
#                         (a PULSE_SERVER value)
#   pipewire_start        PipeWire and its PulseAudio server, without a
#                         session manager; sets SOUND_SERVER
#
# Each server runs as an unprivileged user (nobody, when the test runs as
# root) with a new folder of its own under /tmp as its home and runtime
# folder; it is stopped and the folder removed when the test ends. Both
# return 1, saying why, when the server does not answer within 10 s.
# Needs: pulseaudio, pulseaudio-utils (pactl), pipewire, pipewire-pulse.

SOUND_SERVER=
SOUND_DIR=

# The command prefix that runs a command as the servers' user.
_sound_user=()
[ "$(id -u)" -eq 0 ] && _sound_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)

# Makes a new folder, owned by the servers' user and closed to others, as
# SOUND_DIR.
_sound_dir() {
  SOUND_DIR=$(mktemp -d /tmp/winterhain-sound.XXXXXX) || return 1
  e2e_on_exit rm -rf "$SOUND_DIR"
  [ "$(id -u)" -ne 0 ] || chown nobody:nogroup "$SOUND_DIR"
}

# Runs COMMAND in the background as the servers' user, with DIR as home and
# runtime folder, no session bus, and its output in DIR/NAME.log; $! is the
# command itself (setpriv and env exec).
_sound_run() { # _sound_run DIR NAME COMMAND...
  local dir=$1 name=$2
  shift 2
  "${_sound_user[@]}" env -i PATH=/usr/bin:/bin HOME="$dir" XDG_RUNTIME_DIR="$dir" \
    DBUS_SESSION_BUS_ADDRESS=disabled: "$@" </dev/null >"$dir/$name.log" 2>&1 &
}

# Waits up to 10 s until the server at SOUND_SERVER answers pactl.
_sound_wait() { # _sound_wait DIR
  local deadline=$(($(_e2e_now_ms) + 10000))
  until PULSE_SERVER=$SOUND_SERVER pactl info >/dev/null 2>&1; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "sound server at $SOUND_SERVER does not answer after 10 s; its log:" >&2
      tail -n 5 "$1"/*.log >&2
      return 1
    fi
    sleep 0.05
  done
}

pulse_start() { # pulse_start SCRIPT
  _sound_dir || return 1
  local dir=$SOUND_DIR
  SOUND_SERVER=unix:$dir/native
  printf 'load-module module-native-protocol-unix auth-anonymous=1 socket=%s\n%s\n' \
    "$dir/native" "$1" >"$dir/server.pa"
  _sound_run "$dir" pulseaudio pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -n -F "$dir/server.pa"
  e2e_on_exit e2e_kill $!
  _sound_wait "$dir"
}

pipewire_start() {
  _sound_dir || return 1
  local dir=$SOUND_DIR
  SOUND_SERVER=unix:$dir/pulse/native
  _sound_run "$dir" pipewire pipewire
  e2e_on_exit e2e_kill $!
  # Its PulseAudio server connects to it at start.
  local deadline=$(($(_e2e_now_ms) + 10000))
  until [ -S "$dir/pipewire-0" ]; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "pipewire has no socket after 10 s; its log:" >&2
      tail -n 5 "$dir/pipewire.log" >&2
      return 1
    fi
    sleep 0.05
  done
  _sound_run "$dir" pipewire-pulse pipewire-pulse
  e2e_on_exit e2e_kill $!
  _sound_wait "$dir"
}
