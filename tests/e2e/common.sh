# shellcheck shell=bash
# Shared by the end-to-end tests: a check counter and starting the program.
# Each test prints "ok"/"FAIL" lines and ends with "N passed, N failed".

# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

WINTERHAIN_BIN=${WINTERHAIN_BIN:-$PWD/build/winterhain}
E2E_PASSED=0
E2E_FAILED=0

check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    E2E_PASSED=$((E2E_PASSED + 1))
    echo "ok   - $what"
  else
    E2E_FAILED=$((E2E_FAILED + 1))
    echo "FAIL - $what"
  fi
}

e2e_finish() {
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ] && [ "$E2E_PASSED" -gt 0 ]
  exit
}

# Every process a test starts the program as carries this mark in its
# environment, and so does each process the program starts (its message
# boxes, its display guard): how a test finds what a run left behind.
E2E_RUN_MARK=WINTERHAIN_E2E_RUN=$$.$RANDOM

# Starts the program in the background with sound going nowhere; sets
# APP_PID and APP_ERR (its stderr). Extra arguments are env assignments.
start_program() {
  start_program_in "$PWD" "$@"
}

# A command the program is started through, which execs it (a harness
# whose desktop runs in namespaces of its own sets it: nsenter ...).
E2E_PROGRAM_PREFIX=()

# The same, with DIR as the working directory (the program reads DIR/Data).
start_program_in() { # start_program_in DIR [VAR=VALUE...]
  local dir=$1
  shift
  APP_ERR=$(mktemp)
  e2e_on_exit rm -f "$APP_ERR"
  (cd "$dir" && exec "${E2E_PROGRAM_PREFIX[@]}" env -C "$PWD" SDL_AUDIODRIVER=dummy \
    "$E2E_RUN_MARK" "$@" "$WINTERHAIN_BIN") 2>"$APP_ERR" &
  APP_PID=$!
  e2e_on_exit e2e_kill "$APP_PID"
}

# Answers COUNT message boxes captioned "Winterhain", each once it is there;
# the scene window must not show before the last one is answered, since the
# boxes hold up its creation.
answer_boxes() { # answer_boxes COUNT
  local n box
  for ((n = 1; n <= $1; n++)); do
    box=$(wait_for_message_box Winterhain 20) || { echo "     box $n of $1 did not come"; return 1; }
    if _find_window OpenGL app >/dev/null; then
      echo "     scene window shown before box $n was answered"
      return 1
    fi
    answer_message_box "$box" Return 10 || return 1
  done
}

# True when the program started by start_program wrote nothing to stderr;
# otherwise prints what it wrote.
nothing_on_terminal() {
  [ -s "$APP_ERR" ] || return 0
  sed 's/^/     stderr: /' "$APP_ERR"
  return 1
}

equals() { [ "$1" = "$2" ] || { echo "     expected '$2', got '$1'"; return 1; }; }

# Drawn at the output's own pixels, not at half of them scaled up: scaled
# up by 2, every 2x2 block of pixels (from an even corner) is one colour;
# drawn at full resolution, the edges of the flakes and the trees and the
# sky's shading make a good part of the blocks hold more than one. The
# share of pixels unlike the one -sample keeps of their block, in GEOMETRY
# (at even offsets) of SHOT.
full_resolution() { # full_resolution GEOMETRY
  local mixed
  mixed=$(convert "$SHOT" -crop "$1" +repage \( +clone -sample 50% -sample 200% \) \
    -compose difference -composite -colorspace gray -threshold 0 -format '%[fx:mean]' info:)
  awk -v m="$mixed" 'BEGIN { if (m > 0.05) exit 0; print "     share of pixels unlike their 2x2 block: " m; exit 1 }'
}

# Prints the processes of this test's runs that still live (zombies, which
# only wait to be reaped, do not count).
live_run_processes() {
  local proc state
  for proc in /proc/[0-9]*; do
    { tr '\0' '\n' <"$proc/environ" | grep -qx "$E2E_RUN_MARK"; } 2>/dev/null || continue
    state=$(awk '/^State:/ { print $2 }' "$proc/status" 2>/dev/null) || continue
    [ -n "$state" ] && [ "$state" != Z ] && echo "${proc#/proc/}"
  done
  return 0
}

# What a run must leave once it is over, ended however it was: the
# desktop's mode, no live process of the run (program, box or guard), no
# message box and no scene window. Waits up to 3 s for all of it.
desktop_given_back() { # desktop_given_back MODE
  local deadline=$(($(_e2e_now_ms) + 3000))
  until [ "$(xserver_mode)" = "$1" ] && [ -z "$(live_run_processes)" ] &&
    ! _find_window Winterhain any >/dev/null && ! _find_window OpenGL any >/dev/null; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "     after 3 s: mode $(xserver_mode), live: $(live_run_processes | tr '\n' ' ')"
      _find_window Winterhain any >/dev/null && echo "     a box is still up"
      _find_window OpenGL any >/dev/null && echo "     the scene window is still up"
      return 1
    fi
    sleep 0.05
  done
}

# The desktop as xrandr shows it, on one line: the screen's size, then each
# output in use as "NAME WxH+X+Y", with a * after the primary one; e.g.
# "2560x1024; DUMMY0 1280x1024+0+0*; DUMMY1 1280x1024+1280+0".
desktop_layout() {
  xrandr --current | awk '
    /^Screen / {
      for (i = 1; i < NF; i++) if ($i == "current") size = $(i + 1) "x" $(i + 3)
      sub(/,$/, "", size)
      printf "%s", size
    }
    $2 ~ /^(dis)?connected$/ {
      for (i = 3; i <= NF; i++)
        if ($i ~ /^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$/) {
          printf "; %s %s%s", $1, $i, ($3 == "primary" ? "*" : "")
          break
        }
    }
    END { print "" }'
}

# Polls up to 3 s until the desktop's layout (see desktop_layout) is LAYOUT.
layout_becomes() { # layout_becomes LAYOUT
  local deadline=$(($(_e2e_now_ms) + 3000))
  until [ "$(desktop_layout)" = "$1" ]; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "     after 3 s: '$(desktop_layout)', expected '$1'"
      return 1
    fi
    sleep 0.05
  done
}
