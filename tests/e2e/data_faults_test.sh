#!/usr/bin/env bash
# Whatever is wrong with Data/, the program shows what it can, ends on
# Escape with status 0 and puts the desktop's mode back: no Data/ folder, a
# Data/ that is a file, pictures that cannot be read, an empty music file,
# a picture that is a FIFO (opening it would wait for a writer for ever).
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
ground_is_fifo() {
  mkdir "$1/Data"
  ln -s "$SOURCE_DIR"/Data/* "$1/Data/"
  rm "$1/Data/snow.bmp"
  mkfifo "$1/Data/snow.bmp"
}

# The snow picture textures the ground; without it the ground is plain white.
# A patch just below the horizon at the left edge, clear of trees and
# flakes in the first seconds, is then pure white, while the snow picture
# gives it shades (the red channel down to about 200). Polls until a frame
# has been drawn.
ground_untextured() {
  local shot=$work/ground.png deadline=$(($(_e2e_now_ms) + 10000)) range
  while [ "$(_e2e_now_ms)" -lt "$deadline" ]; do
    screenshot "$shot" || return 1
    range=$(convert "$shot" -crop 60x20+0+270 -format '%[fx:minima*255] %[fx:maxima*255]' info:)
    [ "$range" = "255 255" ] && return 0
    sleep 0.1
  done
  echo "     ground patch min/max: $range, expected pure white"
  return 1
}

for case in "no_data 1" "data_is_file 1" "pictures_unreadable 0" "empty_music 1" "ground_is_fifo 0"; do
  read -r name boxes <<<"$case"
  dir=$work/$name
  mkdir -p "$dir" && "$name" "$dir"
  start_program_in "$dir"
  check "$name: $boxes box(es) answered" answer_boxes "$boxes"
  window=$(wait_for_window OpenGL 20)
  check "$name: scene runs at 640x480" equals "$(xserver_mode)" 640x480
  [ "$name" = ground_is_fifo ] && check "$name: scene runs, the ground untextured" ground_untextured
  check "$name: no other box shown" bash -c "! xwininfo -root -tree | grep -q '\"Winterhain\": ()'"
  send_key "$window" Escape
  wait_pid_exit "$APP_PID" 20
  check "$name: Escape ends it with status 0" equals "$?" 0
  check "$name: desktop mode back" equals "$(xserver_mode)" 1280x1024
done
e2e_finish
