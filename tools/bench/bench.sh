#!/usr/bin/env bash
# make bench: measures the scene and prints, ready for README.md, the
# machine and the state it was measured in, a table of medians and the
# start-up broken down by phase.
#   BUILD             build folder (default build)
#   RUNS              repeated runs per figure (default 5; medians are reported)
#   SECONDS_PER_RUN   length of each frame-rate run of the real program (default 5)
#   NICE              niceness of the bench and everything it starts, e.g. -10
#                     (as root) so that other work on a shared machine disturbs
#                     the figures less (default: left as it is)
# Needs the dummy X server of the end-to-end tests, openbox and valgrind;
# for the screensaver Xvfb, XScreenSaver and its gears (xscreensaver-gl);
# for the saver's background sway (headless), grim and wtype.
#
# State that would change the figures is fixed here rather than inherited:
# - Mesa's shader cache is a private folder: "warm" was filled by earlier
#   launches until one added nothing to it, "cold" is empty (first launch on
#   a machine). llvmpipe stores a few more shaders at each of the first
#   launches (about six for the scene), so one launch leaves it half warm.
# - There is no session bus (DBUS_SESSION_BUS_ADDRESS and XDG_RUNTIME_DIR
#   unset), as on a fresh X server; the program launches none.
# - Start-up is measured with no window manager and with openbox.
# - Sound goes to SDL's dummy driver.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
RUNS=${RUNS:-5}
SECONDS_PER_RUN=${SECONDS_PER_RUN:-5}
CALLGRIND_FRAMES=20
# shellcheck source-path=SCRIPTDIR
source tests/e2e/xserver.sh
# shellcheck source-path=SCRIPTDIR
source tests/e2e/xscreensaver.sh
# shellcheck source-path=SCRIPTDIR
source tests/e2e/sway.sh

work=$(mktemp -d /tmp/winterhain-bench.XXXXXX)
e2e_on_exit rm -rf "$work"
probe=$PWD/$BUILD/winterhain_timeline_probe.so
export SDL_AUDIODRIVER=dummy
unset DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR
unset MESA_SHADER_CACHE_DISABLE MESA_GLSL_CACHE_DISABLE LP_NUM_THREADS
load_at_start=$(cut -d ' ' -f 1-3 /proc/loadavg)
[ -z "${NICE:-}" ] || renice -n "$NICE" -p $$ >/dev/null

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
row() { printf '| %-46s | %10s | %-9s | %-7s |\n' "$@"; }
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", (b - a) / 1e6}'; }

# Waits until the probe's log LOG has a line starting with WHAT.
wait_for_log() {
  local log=$1 what=$2 deadline
  deadline=$(($(_e2e_now_ms) + 30000))
  until grep -q "^$what" "$log" 2>/dev/null; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "bench: the program never reached \"$what\"" >&2
      return 1
    fi
    sleep 0.01
  done
}

# Launches PROGRAM (default the program) with the probe, the shader cache
# in CACHE, and waits for its first swapped frame; the launch time (ns) is
# written into LOG first. Sets PROGRAM_PID.
launch() {
  local cache=$1 log=$2 program=${3:-$BUILD/winterhain} launched
  launched=${EPOCHREALTIME/[.,]/}
  MESA_SHADER_CACHE_DIR=$cache WINTERHAIN_PROBE_LOG=$log LD_PRELOAD=$probe \
    "$program" 2>/dev/null &
  PROGRAM_PID=$!
  echo "$((launched * 1000))" >"$log.launched"
  wait_for_log "$log" "mark first_swap"
}

# Ends the program as a termination request would (it closes like Escape).
finish() {
  kill -TERM "$PROGRAM_PID"
  wait_pid_exit "$PROGRAM_PID" 20 || true
}

# The phases of start-up, each from the first call that begins it to the
# first call of the next one. Prints "phase wall_ms cpu_ms" lines, the CPU
# time being that of all the program's threads together.
phases() {
  local log=$1
  awk -v launched="$(cat "$log.launched")" '
    $1 == "mark" && !($2 in at) {at[$2] = $3; cpu[$2] = $4}
    END {
      n = split("SDL_Init XGrabServer SDL_GL_LoadLibrary SDL_GL_CreateContext glGenTextures audio SDL_ShowWindow shown first_swap", marks, " ")
      split("exec_and_libraries sdl_init display_switch gl_load context textures audio window_show first_frame", names, " ")
      previous = launched
      previousCpu = 0
      for (i = 1; i <= n; ++i) {
        t = (marks[i] in at) ? at[marks[i]] : previous
        c = (marks[i] in at) ? cpu[marks[i]] : previousCpu
        printf "%s %.1f %.1f\n", names[i], (t - previous) / 1e6, (c - previousCpu) / 1e6
        previous = t
        previousCpu = c
      }
      printf "total %.1f %.1f\n", (previous - launched) / 1e6, previousCpu / 1e6
    }' "$log"
  awk '$1 == "spent" && $2 == "gluBuild2DMipmaps" {printf "mipmaps %.1f -\n", $3 / 1e6}' "$log"
}

window_manager_runs() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_openbox() {
  openbox --sm-disable >/dev/null 2>&1 &
  WM_PID=$!
  local deadline=$(($(_e2e_now_ms) + 10000))
  until window_manager_runs; do
    [ "$(_e2e_now_ms)" -lt "$deadline" ] || { echo "bench: openbox did not start" >&2; return 1; }
    sleep 0.05
  done
}

stop_openbox() {
  e2e_kill "$WM_PID"
  local deadline=$(($(_e2e_now_ms) + 10000))
  while window_manager_runs && [ "$(_e2e_now_ms)" -lt "$deadline" ]; do sleep 0.05; done
}

# Launches the program until a launch stores nothing new in the warm cache
# (at most 12 launches).
fill_warm_cache() {
  local launches entries=-1
  for ((launches = 0; launches < 12; launches++)); do
    [ "$entries" -eq "$(find "$work/cache-warm" -type f | wc -l)" ] && break
    entries=$(find "$work/cache-warm" -type f | wc -l)
    launch "$work/cache-warm" "$work/warm-up-$launches" && finish
  done
}

# Start-up runs in one set-up (WM none|openbox, CACHE warm|cold): RUNS
# launches, then the median of each phase into $work/phases-WM-CACHE.
startup_runs() {
  local wm=$1 cache=$2 run dir log
  for ((run = 0; run < RUNS; run++)); do
    dir=$work/cache-warm
    if [ "$cache" = cold ]; then
      dir=$work/cache-cold
      rm -rf "$dir"
    fi
    mkdir -p "$dir"
    log=$work/startup-$wm-$cache-$run
    launch "$dir" "$log"
    finish
    phases "$log" >"$log.phases"
  done
  local files=("$work"/startup-"$wm"-"$cache"-*.phases)
  awk '{print $1}' "${files[0]}" | while read -r phase; do
    printf '%s %s %s\n' "$phase" \
      "$(cat "${files[@]}" | awk -v p="$phase" '$1 == p {print $2}' | median)" \
      "$(cat "${files[@]}" | awk -v p="$phase" '$1 == p {print $3}' | median)"
  done >"$work/phases-$wm-$cache"
}

# phase_of PHASE WM CACHE [COLUMN]: median wall time (column 2) or CPU time
# (column 3) of PHASE, in ms.
phase_of() { awk -v p="$1" -v c="${4:-2}" '$1 == p {print $c}' "$work/phases-$2-$3"; }

# Frame times of one run, from the probe's swap lines: fps, then the median,
# 95th and 99th percentile and the worst frame time in ms.
frame_times() {
  local rate
  rate=$(awk '$1 == "swap" {t[n++] = $2}
    END {printf "%.0f", (n - 1) / ((t[n - 1] - t[0]) / 1e9)}' "$1")
  awk '$1 == "swap" {if (n++) printf "%.3f\n", ($2 - last) / 1e6; last = $2}' "$1" | sort -n |
    awk -v rate="$rate" '{d[++m] = $1}
      END {
        printf "%s %.2f %.2f %.2f %.2f\n", rate, d[int((m + 1) / 2)],
          d[int(0.95 * m + 0.999)], d[int(0.99 * m + 0.999)], d[m]
      }'
}

# 1. Off screen through the capture path: full scene against the floor,
#    every counted frame drawn to the end.
headless=$("$BUILD/winterhain-bench" 300 "$RUNS" 2>/dev/null)
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$headless"; }
capture_log=$work/capture
WINTERHAIN_PROBE_LOG=$capture_log LD_PRELOAD=$probe SDL_VIDEODRIVER=offscreen \
  "$BUILD/winterhain-capture" --deltas 16x400 2>/dev/null
capture_peak=$(awk '$1 == "peak_kib" {printf "%.1f", $2 / 1024}' "$capture_log")

# 2. The real program under Xorg's dummy driver.
xserver_start >/dev/null
mkdir -p "$work/cache-warm"
fill_warm_cache
for wm in none openbox; do
  if [ "$wm" = openbox ]; then
    start_openbox
    launch "$work/cache-warm" "$work/openbox-warm-up" && finish  # openbox settles in
  fi
  startup_runs "$wm" warm
  startup_runs "$wm" cold
  [ "$wm" = openbox ] && stop_openbox
done
# Launch to first frame beside the least SDL2 + OpenGL program, in turns
# (program, yardstick, program, ...) so that a drift of the machine's speed
# touches both alike; warm cache, no window manager.
first_swap_ms() { phases "$1" | awk '$1 == "total" {print $2}'; }
ours=() least=() against=()
launch "$work/cache-warm" "$work/least-warm-up" "$BUILD/winterhain-minimal-gl" && finish
for ((run = 0; run < RUNS; run++)); do
  launch "$work/cache-warm" "$work/pair-ours-$run" && finish
  launch "$work/cache-warm" "$work/pair-least-$run" "$BUILD/winterhain-minimal-gl" && finish
  ours+=("$(first_swap_ms "$work/pair-ours-$run")")
  least+=("$(first_swap_ms "$work/pair-least-$run")")
  against+=("$(awk -v a="${ours[-1]}" -v b="${least[-1]}" 'BEGIN {printf "%.2f", a / b}')")
done
fps=() p50=() p95=() p99=() worst=() peak=()
for ((run = 0; run < RUNS; run++)); do
  log=$work/frames-$run
  launch "$work/cache-warm" "$log"
  sleep "$SECONDS_PER_RUN" # the measured span, not a synchronisation
  finish
  read -r f a b c d < <(frame_times "$log")
  fps+=("$f") p50+=("$a") p95+=("$b") p99+=("$c") worst+=("$d")
  peak+=("$(awk '$1 == "peak_kib" {printf "%.1f", $2 / 1024}' "$log")")
done
xserver_stop

# 2b. The screensaver run by XScreenSaver on a 1280x720 Xvfb: from the
#     activation request to its first swapped frame, then frames/s and the
#     CPU time of all its threads over SAVER_SECONDS, as a share of one core.
SAVER_SECONDS=10
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
saver_runs() {
  local run log pid t0 t1 c0 c1 activated
  # The screensaver runs as nobody when the bench runs as root.
  chmod o+x "$work"
  mkdir -m 777 "$work/saver"
  cat >"$work/saver/hack" <<HACK
#!/bin/sh
cd "$PWD" && exec env WINTERHAIN_PROBE_LOG="$work/saver/log" LD_PRELOAD="$probe" \
  MESA_SHADER_CACHE_DIR="$work/saver/cache" "$PWD/$BUILD/winterhain-saver" "\$@"
HACK
  chmod 755 "$work/saver/hack"
  xvfb_start 1280x720 >/dev/null
  xss_start "$work/saver/hack --root"
  for ((run = 0; run < RUNS; run++)); do
    rm -f "$work/saver/log"
    activated=${EPOCHREALTIME/[.,]/}
    xss_command -activate
    wait_for_log "$work/saver/log" "mark first_swap"
    pid=$(pgrep -n -f "$PWD/$BUILD/winterhain-saver")
    c0=$(cpu_ticks "$pid") t0=${EPOCHREALTIME/[.,]/}
    sleep "$SAVER_SECONDS" # the measured span, not a synchronisation
    c1=$(cpu_ticks "$pid") t1=${EPOCHREALTIME/[.,]/}
    xss_command -deactivate
    e2e_wait_until 10 grep -q '^swap' "$work/saver/log"
    awk -v a="$activated" '$1 == "mark" && $2 == "first_swap" {printf "%.1f\n", ($3 / 1000 - a) / 1000}' \
      "$work/saver/log" >>"$work/saver/first_frame"
    awk -v a="$((t0 * 1000))" -v b="$((t1 * 1000))" '$1 == "swap" && $2 >= a && $2 < b {n++}
      END {printf "%.1f\n", n / ((b - a) / 1e9)}' "$work/saver/log" >>"$work/saver/fps"
    awk -v c="$((c1 - c0))" -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" \
      'BEGIN {printf "%.0f\n", 100 * c / hz / (t / 1e6)}' >>"$work/saver/cpu"
  done
  _xss_stop
  e2e_kill "$XVFB_PID"
}
saver_runs

# 2c. Its cost against XScreenSaver's own OpenGL hack gears, side by side on
#     one Xvfb of each size: RUNS pairs of `winterhain-saver --root` and
#     `gears --root`, both at their defaults, each a share of one core over
#     SAVER_SECONDS once 2 s have passed; the ratio is taken pair by pair.
GEARS=/usr/libexec/xscreensaver/gears
# share_of_core LOG CMD...: % of one core CMD's threads use, and the frames/s
# the probe saw swapped in LOG meanwhile (0 without a probe in CMD).
share_of_core() {
  local log=$1 pid c0 c1 t0 t1
  shift
  rm -f "$log"
  MESA_SHADER_CACHE_DIR=$work/cost-cache "$@" >/dev/null 2>&1 &
  pid=$!
  sleep 2 # settling, not a synchronisation
  c0=$(cpu_ticks "$pid") t0=${EPOCHREALTIME/[.,]/}
  sleep "$SAVER_SECONDS" # the measured span
  c1=$(cpu_ticks "$pid") t1=${EPOCHREALTIME/[.,]/}
  kill -TERM "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v c="$((c1 - c0))" -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" \
    -v a="$((t0 * 1000))" -v b="$((t1 * 1000))" '$1 == "swap" && $2 >= a && $2 < b {n++}
    END {printf "%.1f %.1f\n", 100 * c / hz / (t / 1e6), n / ((b - a) / 1e9)}' "$log" 2>/dev/null ||
    awk -v c="$((c1 - c0))" -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" \
      'BEGIN {printf "%.1f 0\n", 100 * c / hz / (t / 1e6)}'
}
cost_runs() { # cost_runs WxH: $work/cost-WxH.{saver,gears,ratio,fps}
  local out=$work/cost-$1 run saver gears fps
  xvfb_start "$1" >/dev/null
  for ((run = 0; run < RUNS; run++)); do
    read -r saver fps < <(share_of_core "$work/cost-log" env WINTERHAIN_PROBE_LOG="$work/cost-log" \
      LD_PRELOAD="$probe" "$BUILD/winterhain-saver" --root)
    read -r gears _ < <(share_of_core "$work/cost-log" "$GEARS" --root)
    echo "$saver" >>"$out.saver"
    echo "$gears" >>"$out.gears"
    echo "$fps" >>"$out.fps"
    awk -v a="$saver" -v b="$gears" 'BEGIN {printf "%.2f\n", a / b}' >>"$out.ratio"
  done
  e2e_kill "$XVFB_PID"
}
cost_runs 1280x720
cost_runs 1920x1080

# 2d. winterhain-saver --background on a headless sway's 1920x1080 output,
#     at its defaults: the share of one core over SAVER_SECONDS while the
#     scene is shown, then while the program's fullscreen window covers it
#     (the compositor sends no frame callbacks then). Each run starts sway
#     afresh.
layer_runs() {
  local run pid cover c0 c1 t0 t1
  share() { # share PID: % of one core over SAVER_SECONDS
    c0=$(cpu_ticks "$1") t0=${EPOCHREALTIME/[.,]/}
    sleep "$SAVER_SECONDS" # the measured span, not a synchronisation
    c1=$(cpu_ticks "$1") t1=${EPOCHREALTIME/[.,]/}
    awk -v c="$((c1 - c0))" -v t="$((t1 - t0))" -v hz="$(getconf CLK_TCK)" \
      'BEGIN {printf "%.0f\n", 100 * c / hz / (t / 1e6)}'
  }
  for ((run = 0; run < RUNS; run++)); do
    sway_start 1920x1080 >/dev/null
    MESA_SHADER_CACHE_DIR=$work/layer-cache "$PWD/$BUILD/winterhain-saver" --background >/dev/null 2>&1 &
    pid=$!
    e2e_wait_until 20 bash -c "grim -o HEADLESS-1 - | convert - -crop 1x1+960+20 -format '%[fx:b>0.3]' info: | grep -q 1"
    share "$pid" >>"$work/layer-shown"
    SDL_VIDEODRIVER=wayland MESA_SHADER_CACHE_DIR=$work/layer-cache "$PWD/$BUILD/winterhain" >/dev/null 2>&1 &
    cover=$!
    sway_window "$cover" 1920x1080 30 >/dev/null
    share "$pid" >>"$work/layer-covered"
    e2e_kill "$cover"
    e2e_kill "$pid"
    sway_stop
  done
}
layer_runs
unset WAYLAND_DISPLAY SWAYSOCK XDG_RUNTIME_DIR

# 3. Instructions per steady frame, ours against everything (callgrind),
#    with llvmpipe's threads off so its work is counted too.
cg=$work/callgrind.out
LP_NUM_THREADS=0 valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$cg" \
  "$BUILD/winterhain-bench" --callgrind "$CALLGRIND_FRAMES" >/dev/null 2>&1
dump=$(ls "$cg"* | grep -v "^$cg\$" | head -n 1)
read -r ours total < <(callgrind_annotate --threshold=100 "$dump" 2>/dev/null | awk -v bin="winterhain-bench]" '
  /PROGRAM TOTALS/ {gsub(",", "", $1); total = $1}
  /\[.*\]$/ {n = $1; gsub(",", "", n); if (index($NF, bin)) ours += n}
  END {print ours + 0, total}')

# 4. The first frame's instructions, cold and then warm shader cache: a
#    one-frame capture under callgrind (a cache of its own, since valgrind's
#    CPU differs from the real one), and how many of them are LLVM's code
#    generation, the part the shader cache does not save.
first_frame_instructions() {
  local out=$work/first-frame-$1
  MESA_SHADER_CACHE_DIR=$work/cache-valgrind LP_NUM_THREADS=0 valgrind --tool=callgrind \
    --callgrind-out-file="$out" "$BUILD/winterhain-capture" --deltas 16 >/dev/null 2>&1
  callgrind_annotate --inclusive=yes "$out" 2>/dev/null | awk '
    /CSceneWnd::DrawScene\(\) \[/ {gsub(",", "", $1); frame = $1}
    /LLVMGetPointerToGlobal \[/ {gsub(",", "", $1); llvm = $1}
    END {printf "%.0f %.0f\n", frame / 1e6, llvm / 1e6}'
}
read -r frame_cold llvm_cold < <(first_frame_instructions cold)
read -r frame_warm llvm_warm < <(first_frame_instructions warm)

of() { printf '%s\n' "$@" | median; }
mesa=$(dpkg-query -W -f '${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown)
sdl=$(dpkg-query -W -f '${Version}' libsdl2-2.0-0 2>/dev/null || echo unknown)
cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1)
mem=$(awk '/MemTotal/ {printf "%.0f", $2 / 1048576}' /proc/meminfo)
{
  printf 'Measured on %s with `make bench RUNS=%s`: %s cores (%s, %s), %s GiB, ' \
    "$(date -u +%Y-%m-%d)" "$RUNS" "$(nproc)" "$cpu" "$(uname -m)" "$mem"
  printf 'Debian %s, SDL %s, Mesa %s (llvmpipe), no GPU. ' \
    "$(cat /etc/debian_version 2>/dev/null || echo '?')" "$sdl" "$mesa"
  printf 'Load average at the start: %s; niceness %s. ' "$load_at_start" "$(nice)"
  printf 'No session bus; sound to the dummy driver; Mesa shader cache private '
  printf '(warm: filled by launches until one stored nothing new; cold: empty).\n'
} | fmt -w 76 | sed '1s/^/\n/'
echo
row "measure (median of $RUNS runs)" value unit target
row "----" "----" "----" "----"
row "full scene, off screen (llvmpipe, 640x480)" "$(value headless_scene_fps)" frames/s ""
row "empty frame (sky + swap), off screen" "$(value headless_empty_fps)" frames/s ""
row "full scene / empty frame" "$(value headless_ratio)" ratio ""
row "full scene, real program on Xorg dummy" "$(of "${fps[@]}")" frames/s ""
row "frame time, median" "$(of "${p50[@]}")" ms ""
row "frame time, 95th percentile" "$(of "${p95[@]}")" ms ""
row "frame time, 99th percentile" "$(of "${p99[@]}")" ms ""
row "frame time, worst" "$(of "${worst[@]}")" ms ""
row "launch to first frame, warm cache, no WM" "$(phase_of total none warm)" ms "<= 150"
row "launch to first frame, warm cache, openbox" "$(phase_of total openbox warm)" ms "<= 150"
row "launch to first frame, cold cache, no WM" "$(phase_of total none cold)" ms ""
row "launch to first frame, cold cache, openbox" "$(phase_of total openbox cold)" ms ""
row "launch to first frame, least SDL2+GL program" "$(of "${least[@]}")" ms ""
row "  the program against it, launched in turns" "$(of "${against[@]}")" ratio ""
row "screensaver (XScreenSaver, 1280x720): frames" "$(median <"$work/saver/fps")" frames/s ""
row "screensaver: CPU, all threads" "$(median <"$work/saver/cpu")" "% of core" ""
row "screensaver: activation to first frame" "$(median <"$work/saver/first_frame")" ms ""
for size in 1280x720 1920x1080; do
  target="<= 1.5"
  [ "$size" = 1920x1080 ] && target="<= 2"
  row "saver --root, $size: CPU" "$(median <"$work/cost-$size.saver")" "% of core" ""
  row "saver --root, $size: frames" "$(median <"$work/cost-$size.fps")" frames/s ""
  row "gears --root, $size: CPU" "$(median <"$work/cost-$size.gears")" "% of core" ""
  row "saver / gears, $size, pair by pair" "$(median <"$work/cost-$size.ratio")" ratio "$target"
done
row "saver --background, sway 1920x1080: CPU shown" "$(median <"$work/layer-shown")" "% of core" ""
row "saver --background: CPU while covered" "$(median <"$work/layer-covered")" "% of core" ""
row "peak resident memory, real program" "$(of "${peak[@]}")" MiB "<= 120"
row "peak resident memory, capture of 400 frames" "$capture_peak" MiB "<= 120"
row "heap allocations per frame, our code (new)" "$(value news_per_frame)" per-frame "0"
row "heap allocations per frame, all (malloc)" "$(value mallocs_per_frame)" per-frame ""
row "instructions per frame, all" "$((total / CALLGRIND_FRAMES))" Ir ""
row "instructions per frame, our code" "$((ours / CALLGRIND_FRAMES))" Ir ""
row "our code's share of the frame" "$(awk -v o="$ours" -v t="$total" 'BEGIN {printf "%.2f", 100 * o / t}')" "%" "<= 5"
row "first frame, cold shader cache" "$frame_cold" "M Ir" ""
row "  of which LLVM code generation" "$llvm_cold" "M Ir" ""
row "first frame, warm shader cache" "$frame_warm" "M Ir" ""
row "  of which LLVM code generation" "$llvm_warm" "M Ir" ""

printf '\nStart-up by phase, ms (median of %s runs; each phase runs from the first\n' "$RUNS"
printf 'call that begins it to the first call of the next; "warm, CPU" is the CPU\n'
printf 'time of all the program'"'"'s threads in the warm runs without WM):\n\n'
printf '| %-40s | %9s | %9s | %9s | %9s | %9s |\n' "phase" "warm" "warm, CPU" "warm, WM" "cold" \
  "cold, WM" "----" "----" "----" "----" "----" "----"
for phase in exec_and_libraries sdl_init display_switch gl_load context textures mipmaps audio \
  window_show first_frame total; do
  case $phase in
    exec_and_libraries) label="exec, libraries, static objects" ;;
    display_switch) label="display switch (XRandR)" ;;
    sdl_init) label="SDL init, key state, desktop policy" ;;
    gl_load) label="GL load (Mesa, LLVM), GL window" ;;
    context) label="GL context" ;;
    textures) label="textures, scene objects" ;;
    mipmaps) label="  of which gluBuild2DMipmaps" ;;
    audio) label="audio" ;;
    window_show) label="window show" ;;
    first_frame) label="first frame" ;;
    total) label="launch to first swapped frame" ;;
  esac
  printf '| %-40s | %9s | %9s | %9s | %9s | %9s |\n' "$label" \
    "$(phase_of "$phase" none warm)" "$(phase_of "$phase" none warm 3)" \
    "$(phase_of "$phase" openbox warm)" "$(phase_of "$phase" none cold)" \
    "$(phase_of "$phase" openbox cold)"
done
