#!/usr/bin/env bash
# make bench: measures the scene and prints one table of medians.
#   BUILD   build folder (default build)
#   RUNS    repeated runs per figure (default 5; medians are reported)
# Needs the dummy X server of the end-to-end tests and valgrind.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
RUNS=${RUNS:-5}
SECONDS_PER_RUN=${SECONDS_PER_RUN:-5}
# shellcheck source-path=SCRIPTDIR
source tests/e2e/xserver.sh

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
row() { printf '| %-52s | %12s | %-14s | %-12s |\n' "$@"; }

# 1. Off screen through the capture path: full scene against the floor.
headless=$("$BUILD/winterhain-bench" 300 "$RUNS")
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$headless"; }

# 2. The real program under Xorg's dummy driver: swapped frames over a fixed
#    time, the time from launch to the first swap, and peak memory.
xserver_start >/dev/null
fps=() first=() peak=()
for ((run = 0; run < RUNS; run++)); do
  log=$(mktemp)
  launched=$(date +%s%N)
  WINTERHAIN_SWAP_LOG=$log LD_PRELOAD=$PWD/$BUILD/winterhain_swap_counter.so \
    SDL_AUDIODRIVER=dummy "$BUILD/winterhain" 2>/dev/null &
  pid=$!
  window=$(wait_for_window OpenGL 20)
  sleep "$SECONDS_PER_RUN"  # the measured span, not a synchronisation
  send_key "$window" Escape
  wait_pid_exit "$pid" 20 || true
  read -r frames firstNs lastNs peakKib <"$log"
  fps+=("$(awk -v f="$frames" -v a="$firstNs" -v b="$lastNs" 'BEGIN {printf "%.0f", (f - 1) / ((b - a) / 1e9)}')")
  first+=("$(awk -v a="$firstNs" -v t="$launched" 'BEGIN {printf "%.0f", (a - t) / 1e6}')")
  peak+=("$(awk -v k="$peakKib" 'BEGIN {printf "%.1f", k / 1024}')")
  rm -f "$log"
done
xserver_stop

# 3. Instructions per steady frame, ours against everything (callgrind).
cg=$(mktemp)
LP_NUM_THREADS=0 valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$cg" \
  "$BUILD/winterhain-bench" --callgrind 20 >/dev/null 2>&1
dump=$(ls "$cg"* | grep -v "^$cg\$" | head -n 1)
read -r ours total < <(callgrind_annotate --threshold=100 "$dump" 2>/dev/null | awk -v bin="winterhain-bench]" '
  /PROGRAM TOTALS/ {gsub(",", "", $1); total = $1}
  /\[.*\]$/ {n = $1; gsub(",", "", n); if (index($NF, bin)) ours += n}
  END {print ours + 0, total}')
rm -f "$cg"*

printf '\n'
row "measure (median of $RUNS runs)" value unit target
row "----" "----" "----" "----"
row "full scene, off screen (llvmpipe, 640x480)" "$(value headless_scene_fps)" frames/s ">= 400"
row "empty frame (sky + swap), off screen" "$(value headless_empty_fps)" frames/s ""
row "full scene / empty frame" "$(value headless_ratio)" ratio ""
row "full scene, real program on Xorg dummy" "$(printf '%s\n' "${fps[@]}" | median)" frames/s ""
row "launch to first swapped frame" "$(printf '%s\n' "${first[@]}" | median)" ms "<= 250"
row "peak resident memory" "$(printf '%s\n' "${peak[@]}" | median)" MiB "<= 120"
row "heap allocations per frame, our code (new)" "$(value news_per_frame)" per-frame "0"
row "heap allocations per frame, all (malloc)" "$(value mallocs_per_frame)" per-frame ""
row "instructions per frame, all" "$((total / 20))" Ir ""
row "instructions per frame, our code" "$((ours / 20))" Ir ""
row "our code's share of the frame" "$(awk -v o="$ours" -v t="$total" 'BEGIN {printf "%.2f", 100 * o / t}')" "%" "<= 5"
