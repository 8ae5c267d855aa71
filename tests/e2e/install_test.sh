#!/usr/bin/env bash
# Installed into a prefix of its own, the program is started by its launcher
# from an unrelated working directory, finds its pictures (the ground is
# textured, where without them it is plain white) and ends on Escape with
# status 0. Installed into a prefix with a space, %, $, " and a backtick, its
# menu entry (quoted and escaped) still starts it through GLib's launcher.
# The Debian package built with CPack holds the same files and depends on the
# runtime libraries.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build=${WINTERHAIN_BUILD_DIR:-$PWD/build}
tmp=$(mktemp -d /tmp/winterhain-install.XXXXXX)
e2e_on_exit rm -rf "$tmp"
prefix=$tmp/prefix

pictures=(snow.bmp santa.bmp greetings.bmp snowFlake.bmp Baumoben.bmp Baumstamm.bmp
  Schneeman.bmp Gesicht.bmp Muetze.bmp)
icon_sizes=(16 22 24 32 48 64 128 256)
# Installed files, relative to the prefix.
installed=(games/winterhain libexec/winterhain/winterhain libexec/winterhain/winterhain-guard
  share/applications/winterhain.desktop
  libexec/winterhain/winterhain-saver libexec/xscreensaver/winterhain-saver
  share/xscreensaver/config/winterhain-saver.xml share/applications/screensavers/winterhain.desktop
  share/man/man6/winterhain-saver.6.gz games/winterhain-saver
  share/metainfo/org.example.Winterhain.metainfo.xml
  share/icons/hicolor/scalable/apps/winterhain.svg share/man/man6/winterhain.6.gz
  share/doc/winterhain/copyright share/doc/winterhain/changelog.gz share/winterhain/Data/music.mp3)
for p in "${pictures[@]}"; do installed+=("share/winterhain/Data/$p"); done
for s in "${icon_sizes[@]}"; do installed+=("share/icons/hicolor/${s}x${s}/apps/winterhain.png"); done

# --- install -------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1
check "cmake --install into a temporary prefix succeeds" equals "$?" 0 || cat "$tmp/install.log"
missing=()
for f in "${installed[@]}"; do [ -f "$prefix/$f" ] || missing+=("$f"); done
check "installs all ${#installed[@]} files" equals "${missing[*]}" ""
check "the launcher is executable" test -x "$prefix/games/winterhain"
check "the program is executable" test -x "$prefix/libexec/winterhain/winterhain"
for s in "${icon_sizes[@]}"; do
  check "the ${s}x${s} icon is a ${s}x${s} PNG" equals \
    "$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/${s}x${s}/apps/winterhain.png" 2>&1)" \
    "PNG ${s}x${s}"
done

desktop=$prefix/share/applications/winterhain.desktop
entry() { sed -n "s/^$1=//p" "$desktop"; }
check "desktop entry: Name" equals "$(entry Name)" Winterhain
check "desktop entry: Icon" equals "$(entry Icon)" winterhain
check "desktop entry: Categories" equals "$(entry Categories)" "Game;Amusement;"
check "desktop entry: Exec runs the installed launcher" equals "$(entry Exec)" "$prefix/games/winterhain"
check "desktop entry: Path is the installed data folder" equals "$(entry Path)" "$prefix/share/winterhain"

saver_entry() { sed -n "s/^$1=//p" "$prefix/share/applications/screensavers/winterhain.desktop"; }
check "screensaver entry: Categories" equals "$(saver_entry Categories)" "Screensaver;"
check "screensaver entry: Exec runs the installed hack" equals "$(saver_entry Exec)" \
  "$prefix/libexec/xscreensaver/winterhain-saver --root"
check "XScreenSaver description: name winterhain-saver, label Winterhain, GL" grep -q \
  '<screensaver name="winterhain-saver" _label="Winterhain" gl="yes">' \
  "$prefix/share/xscreensaver/config/winterhain-saver.xml"
# XScreenSaver's "Documentation..." shows the manual page named as the
# hack's program (the first word of its command line, without its folder).
saver_man=$(man -M "$prefix/share/man" -w winterhain-saver 2>/dev/null)
check "the hack's name, winterhain-saver, finds the saver's manual page" \
  grep -q '^\.TH WINTERHAIN-SAVER 6 ' <(gzip -dc "$saver_man" 2>/dev/null)
saver_man_text=$(gzip -dc "$prefix/share/man/man6/winterhain-saver.6.gz")
for phrase in '\-\-delay' '\-\-fps' '\-\-help' 'lost the connection to the X server' \
  'killed by SIGTERM'; do
  check "saver's manual page mentions $phrase" grep -qF "$phrase" <<<"$saver_man_text"
done

check "games/winterhain-saver is a link to the screensaver's launcher" equals \
  "$(readlink -f "$prefix/games/winterhain-saver")" "$(readlink -f "$prefix/libexec/xscreensaver/winterhain-saver")"
metainfo=$prefix/share/metainfo/org.example.Winterhain.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$tmp/metainfo.log" 2>&1
check "metainfo: appstreamcli validates it" equals "$?" 0 || cat "$tmp/metainfo.log"
metainfo_says() { grep -qF "$1" "$metainfo"; }
for fact in '<launchable type="desktop-id">winterhain.desktop</launchable>' \
  '<binary>winterhain-saver</binary>' '<release version="1.0.0"' '<content_rating type="oars-1.1"'; do
  check "metainfo: $fact" metainfo_says "$fact"
done
shot=$(sed -n 's|.*<image[^>]*>https://[^<]*/\(docs/[^<]*\)</image>.*|\1|p' "$metainfo")
check "metainfo: its screenshot is one of docs/ (${shot:-none})" \
  test -n "$shot" -a -f "${WINTERHAIN_SOURCE_DIR:-$PWD}/$shot"

man_text=$(gzip -dc "$prefix/share/man/man6/winterhain.6.gz")
check "manual page is section 6" grep -q '^\.TH WINTERHAIN 6 ' <<<"$man_text"
for phrase in Escape Data/snow.bmp music.mp3 'Fehler! Start()' 'Keine Musik!!!!!!!! Error' \
  SDL_AUDIODRIVER SDL_VIDEODRIVER llvmpipe SIGHUP SIGKILL 'black bars'; do
  check "manual page mentions $phrase" grep -qF "$phrase" <<<"$man_text"
done

# --- run -----------------------------------------------------------------
# Distinct colours in the lower part of a 640 x 480 picture of the window:
# the snowy ground and the trees. Textured, that is hundreds; without the
# pictures everything there is drawn plain white (1 or 2 colours).
ground_colours() {
  convert "$1" -crop 640x200+0+280 +repage -format '%k' info:
}
# The scene has been drawn once the top of the window shows the blue sky
# (before that the window is black).
sky_drawn() {
  local rgb r b
  rgb=$(convert "$1" -crop 640x60+0+0 +repage -format '%[fx:mean.r] %[fx:mean.b]' info:) || return 1
  read -r r b <<<"$rgb"
  awk -v r="$r" -v b="$b" 'BEGIN { exit !(b > r + 0.2) }'
}
# Takes pictures of window ID until the sky shows (at most TIMEOUT s);
# leaves the last one in FILE.
wait_for_scene() {
  local id=$1 file=$2 deadline
  deadline=$(($(_e2e_now_ms) + $(_e2e_sec_to_ms "$3")))
  until screenshot "$file" "$id" 2>/dev/null && sky_drawn "$file"; do
    if [ "$(_e2e_now_ms)" -ge "$deadline" ]; then
      echo "     no scene drawn in window $id after $3 s" >&2
      return 1
    fi
    sleep 0.1
  done
}

# Runs COMMAND... in DIR under the X server until Escape; sets RUN_CWD (the
# program's working directory), RUN_DRAWN (1 once the scene showed),
# RUN_COLOURS (see ground_colours), RUN_STATUS and RUN_ERR (its stderr).
run_scene() {
  local dir=$1 window
  shift
  RUN_CWD='' RUN_DRAWN=0 RUN_COLOURS=0 RUN_STATUS=''
  RUNS=$((RUNS + 1))
  RUN_ERR=$tmp/stderr.$RUNS
  # exec all the way down: the launcher execs the program, so $! is its pid.
  (cd "$dir" && exec env SDL_AUDIODRIVER=dummy "$@") 2>"$RUN_ERR" &
  local pid=$!
  e2e_on_exit e2e_kill "$pid"
  if ! window=$(wait_for_window OpenGL 20); then
    e2e_kill "$pid"
    return 1
  fi
  RUN_CWD=$(readlink "/proc/$pid/cwd")
  if wait_for_scene "$window" "$tmp/shot.$RUNS.png" 20; then
    RUN_DRAWN=1
    RUN_COLOURS=$(ground_colours "$tmp/shot.$RUNS.png")
  fi
  send_key "$window" Escape
  wait_pid_exit "$pid" 20
  RUN_STATUS=$?
}

# Starts the menu entry FILE as a desktop does (gio launch, which returns
# once the program is started) and ends it with Escape; sets RUN_CWD and
# RUN_DRAWN as run_scene does, and RUN_GONE (1 once the program ended).
launch_entry() {
  local window pid
  RUN_CWD='' RUN_DRAWN=0 RUN_GONE=0
  RUNS=$((RUNS + 1))
  # A session bus that is not there: without an address GLib would start
  # one (dbus-launch) on the test's X server.
  DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/no-session-bus SDL_AUDIODRIVER=dummy \
    gio launch "$1" || return 1
  window=$(wait_for_window OpenGL 20) || return 1
  pid=$(xdotool getwindowpid "$window") || return 1
  e2e_on_exit e2e_kill "$pid"
  RUN_CWD=$(readlink "/proc/$pid/cwd")
  wait_for_scene "$window" "$tmp/shot.$RUNS.png" 20 && RUN_DRAWN=1
  send_key "$window" Escape
  wait_pid_exit "$pid" 20 && RUN_GONE=1
}

RUNS=0
xserver_start || exit 1
elsewhere=$tmp/elsewhere
mkdir -p "$elsewhere"

run_scene "$elsewhere" "$prefix/games/winterhain"
check "launcher: the scene is drawn" equals "$RUN_DRAWN" 1
check "launcher: the program runs in the installed data folder" \
  equals "$RUN_CWD" "$prefix/share/winterhain"
check "launcher: the ground is textured ($RUN_COLOURS colours, want >= 100)" \
  test "$RUN_COLOURS" -ge 100
check "launcher: Escape ends it with status 0" equals "$RUN_STATUS" 0
check "launcher: nothing on stderr" test ! -s "$RUN_ERR" || cat "$RUN_ERR"
check "desktop mode is back" equals "$(xserver_mode)" 1280x1024

# A prefix with characters the menu entry must quote and escape (a space,
# %, $, " and a backtick): a desktop's launcher (GLib's, through gio)
# starts the program from the entry, in the installed data folder.
# shellcheck disable=SC2016  # the $ and the backtick are part of the name
odd=$tmp/'odd x%y$z"q`b'
cmake --install "$build" --prefix "$odd" >"$tmp/install-odd.log" 2>&1
check "odd prefix: installs" equals "$?" 0 || cat "$tmp/install-odd.log"
check "odd prefix: desktop-file-validate accepts the entry" \
  desktop-file-validate "$odd/share/applications/winterhain.desktop"
launch_entry "$odd/share/applications/winterhain.desktop"
check "odd prefix: gio launch draws the scene" equals "$RUN_DRAWN" 1 ||
  grep -E '^(Exec|Path)=' "$odd/share/applications/winterhain.desktop"
check "odd prefix: the program runs in the installed data folder" \
  equals "$RUN_CWD" "$odd/share/winterhain"
check "odd prefix: Escape ends it" equals "$RUN_GONE" 1

# The same program without its pictures (the music only, so no message box
# comes up): the measure above must tell the two apart.
nopics=$tmp/nopics
mkdir -p "$nopics/Data"
ln -s "$prefix/share/winterhain/Data/music.mp3" "$nopics/Data/music.mp3"
run_scene "$nopics" "$prefix/libexec/winterhain/winterhain"
check "without its pictures: the scene is drawn" equals "$RUN_DRAWN" 1
check "without its pictures: the ground is plain ($RUN_COLOURS colours, want <= 4)" \
  test "$RUN_COLOURS" -ge 1 -a "$RUN_COLOURS" -le 4
check "without its pictures: Escape ends it with status 0" equals "$RUN_STATUS" 0

# The installed hack, started from elsewhere, draws into a 640x480 window
# of another client with its pictures, and ends with status 0 on SIGTERM.
host=$(e2e_tool host_window) && { "$host" 640 480 >"$tmp/host" & }
host_pid=$!
e2e_on_exit e2e_kill "$host_pid"
until [ -s "$tmp/host" ] || ! kill -0 "$host_pid" 2>/dev/null; do sleep 0.05; done
(cd "$elsewhere" && exec "$prefix/libexec/xscreensaver/winterhain-saver" --window-id "$(cat "$tmp/host")") \
  2>"$tmp/hack.err" &
hack_pid=$!
e2e_on_exit e2e_kill "$hack_pid"
hack_drawn=0 && wait_for_scene "$(cat "$tmp/host")" "$tmp/hack.png" 20 && hack_drawn=1
check "hack: the scene is drawn into the given window" equals "$hack_drawn" 1
check "hack: it runs in the installed data folder" equals "$(readlink "/proc/$hack_pid/cwd")" \
  "$prefix/share/winterhain"
check "hack: the ground is textured" test "$(ground_colours "$tmp/hack.png")" -ge 100
check "hack: in ps by the saver's own path, not the launcher's relative one" \
  equals "$(tr '\0' '\n' <"/proc/$hack_pid/cmdline" | head -n 1)" \
  "$(readlink -f "$prefix")/libexec/winterhain/winterhain-saver"
kill -TERM "$hack_pid"
wait_pid_exit "$hack_pid" 20
check "hack: SIGTERM ends it as a hack ends, killed by the signal" equals "$?" 143
check "hack: nothing on stderr" test ! -s "$tmp/hack.err" || cat "$tmp/hack.err"

# --- package -------------------------------------------------------------
if command -v dpkg-deb >/dev/null; then
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1
  check "cpack builds the package" equals "$?" 0 || tail -n 20 "$tmp/cpack.log"
  deb=$(find "$tmp/pkg" -maxdepth 1 -name 'winterhain_*.deb' | head -n 1)
  check "package file is named winterhain_<version>_<arch>.deb" \
    grep -qE '^winterhain_[0-9]+\.[0-9]+\.[0-9]+_[a-z0-9]+\.deb$' <<<"$(basename "${deb:-none}")"
  if [ -n "$deb" ]; then
    dpkg-deb -c "$deb" | sed 's/ -> .*//' | awk '{ print $NF }' | sed 's#^\./##' >"$tmp/list"
    missing=()
    for f in "${installed[@]}"; do grep -qxF "usr/$f" "$tmp/list" || missing+=("usr/$f"); done
    check "package holds all ${#installed[@]} files under /usr" equals "${missing[*]}" ""
    check "package holds nothing outside /usr" equals "$(grep -v '^usr/' "$tmp/list" | grep -v '^$')" ""
    check "package: name" equals "$(dpkg-deb -f "$deb" Package)" winterhain
    check "package: section" equals "$(dpkg-deb -f "$deb" Section)" games
    check "package: maintainer" equals "$(dpkg-deb -f "$deb" Maintainer)" \
      "Winterhain developers <winterhain@example.org>"
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libgl1 libglu1 libx11-6 libxrandr2; do
      check "package depends on $lib" grep -qE "(^|[ ,|])$lib([ ,(|]|$)" <<<"$depends" ||
        echo "     Depends: $depends"
    done
    desktop_in_deb=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/applications/winterhain.desktop)
    check "package: desktop entry runs /usr/games/winterhain" \
      grep -qx 'Exec=/usr/games/winterhain' <<<"$desktop_in_deb"
    check "package: desktop entry starts in /usr/share/winterhain" \
      grep -qx 'Path=/usr/share/winterhain' <<<"$desktop_in_deb"
    saver_in_deb=$(dpkg-deb --fsys-tarfile "$deb" |
      tar -xOf - ./usr/share/applications/screensavers/winterhain.desktop)
    check "package: MATE runs /usr/libexec/xscreensaver/winterhain-saver" \
      grep -qx 'Exec=/usr/libexec/xscreensaver/winterhain-saver --root' <<<"$saver_in_deb"
  fi
fi
e2e_finish
