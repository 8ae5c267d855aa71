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

# Starts the program in the background with sound going nowhere; sets
# APP_PID and APP_ERR (its stderr). Extra arguments are env assignments.
start_program() {
  start_program_in "$PWD" "$@"
}

# The same, with DIR as the working directory (the program reads DIR/Data).
start_program_in() { # start_program_in DIR [VAR=VALUE...]
  local dir=$1
  shift
  APP_ERR=$(mktemp)
  e2e_on_exit rm -f "$APP_ERR"
  (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$@" "$WINTERHAIN_BIN") 2>"$APP_ERR" &
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

equals() { [ "$1" = "$2" ] || { echo "     expected '$2', got '$1'"; return 1; }; }
