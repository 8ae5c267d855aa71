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
  APP_ERR=$(mktemp)
  e2e_on_exit rm -f "$APP_ERR"
  env SDL_AUDIODRIVER=dummy "$@" "$WINTERHAIN_BIN" 2>"$APP_ERR" &
  APP_PID=$!
  e2e_on_exit e2e_kill "$APP_PID"
}

equals() { [ "$1" = "$2" ] || { echo "     expected '$2', got '$1'"; return 1; }; }
