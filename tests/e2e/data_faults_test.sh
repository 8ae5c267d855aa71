#!/usr/bin/env bash
# Whatever is wrong with Data/, the program shows what it can, ends on
# Escape with status 0 and puts the desktop's mode back: no Data/ folder, a
# Data/ that is a file, pictures that cannot be read, an empty music file.
set -u
# shellcheck source-path=SCRIPTDIR
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

SOURCE_DIR=${WINTERHAIN_SOURCE_DIR:-$PWD}
xserver_start || exit 1
work=$(mktemp -d)
e2e_on_exit rm -rf "$work"

# Each case: a working directory made by a function, and how many boxes the
# music shows there (the stream-failure box when music.mp3 is unusable).
no_data() { :; }
data_is_file() { echo "not a folder" >"$1/Data"; }
pictures_unreadable() {
  mkdir "$1/Data"
  cp "$SOURCE_DIR/Data/music.mp3" "$1/Data/"
  local picture
  for picture in "$SOURCE_DIR"/Data/*.bmp; do mkdir "$1/Data/$(basename "$picture")"; done
}
empty_music() {
  mkdir "$1/Data"
  ln -s "$SOURCE_DIR"/Data/*.bmp "$1/Data/"
  : >"$1/Data/music.mp3"
}

for case in "no_data 1" "data_is_file 1" "pictures_unreadable 0" "empty_music 1"; do
  read -r name boxes <<<"$case"
  dir=$work/$name
  mkdir -p "$dir" && "$name" "$dir"
  start_program_in "$dir"
  check "$name: $boxes box(es) answered" answer_boxes "$boxes"
  window=$(wait_for_window OpenGL 20)
  check "$name: scene runs at 640x480" equals "$(xserver_mode)" 640x480
  check "$name: no other box shown" bash -c "! xwininfo -root -tree | grep -q '\"Winterhain\": ()'"
  send_key "$window" Escape
  wait_pid_exit "$APP_PID" 20
  check "$name: Escape ends it with status 0" equals "$?" 0
  check "$name: desktop mode back" equals "$(xserver_mode)" 1280x1024
done
e2e_finish
