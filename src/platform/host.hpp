// What the program runs on, found in one pass before SDL starts (one X
// connection, one Wayland connection, one question to sway), and the video
// driver SDL then started with: plain data, from which the desktop policy
// is decided (platform/sdl/desktop_policy.hpp).
#pragma once

#include <string>

namespace platform {

enum class Compositor {
  NotAsked,      // SDL will not try Wayland: an X server other than Xwayland answered,
                 // or another driver is asked for
  Absent,        // nothing answers
  HandedSocket,  // WAYLAND_SOCKET: SDL's to take (once), so not asked here
  WithSeat,
  Seatless,      // answers, but offers no wl_seat (weston's headless backend)
};

struct Host {
  bool x = false;  // DISPLAY names an X server that accepted us
  bool xRandr = false;
  bool xwayland = false;
  bool xFirstScreen = true;  // DISPLAY names screen 0 of its server
  Compositor wayland = Compositor::NotAsked;
  bool waylandScaled = false;  // an output of the compositor's is scaled (above 1)
  // The focused output's corner in the layout of all outputs, where the
  // compositor tells it (sway's IPC).
  bool knowsFocus = false;
  int focusX = 0, focusY = 0;
  std::string videoDriver;  // "" until SDL started, or where it did not
};

}  // namespace platform
