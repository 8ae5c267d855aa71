// Every work-around for another program's behaviour, named and tied to the
// version it was seen with, so each can go once that version has. Those set
// to true hold for the libraries built against; the desktop policy sets the
// others where they apply; the code each concerns reads its flag.
#pragma once

namespace platform {

struct Quirks {
  // KWin 5.27 (Wayland): the first buffer's size becomes the window's own,
  // and the first frame is drawn before the first configure, at the size
  // the window was made with: the window is made at the output's size.
  bool fullscreenAtCreation = false;
  // weston 10's Xwayland window manager: an X11 window made fullscreen gets
  // its windowed size in some launches: fullscreen is asked for when shown.
  bool fullscreenWhenShown = false;
  // mutter 43's Xwayland never lets a borderless window that was made
  // fullscreen before it was shown draw a frame (_XWAYLAND_ALLOW_COMMITS
  // stays 0): the window is made without the borderless hint, which a
  // fullscreen window does not need, as no window manager frames one.
  bool decoratedUntilFullscreen = false;
  // Xwayland under sway 1.7, KWin 5.27 and weston 10 draws at scale 1 on a
  // scaled output, and the compositor scales its picture up (blocky): on a
  // desktop with a scaled output, SDL is started on its wayland driver,
  // where the compositor has a seat.
  bool xwaylandScaledUp = true;
  // SDL 2.26's wayland driver asks for fullscreen on the output of the
  // display its window was made on (display 0 for a window at 0,0), never
  // leaving the compositor its choice: the window is made on the display
  // of the compositor's focused output, where it tells which that is.
  bool sdlWaylandFullscreensOnItsDisplay = false;
  // SDL 2.26's wayland driver crashes while starting on a compositor with
  // no seat: SDL is kept to X11 there.
  bool sdlWaylandNeedsSeat = true;
  // SDL 2.26's pulseaudio driver crashes on a server without a sink and
  // hangs on one that never readies a stream: the server is asked first
  // (pulse/server_probe.hpp).
  bool sdlPulseNeedsProbe = true;
  // SDL 2.26's SDL_CreateWindowFrom marks the window it is handed as a drop
  // target (XdndAware): the mark is taken off again where it was not there.
  bool sdlMarksHandedWindowForDrops = true;
};

}  // namespace platform
