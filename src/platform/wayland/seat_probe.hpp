// Asking a Wayland compositor whether it has a seat, before SDL is let near
// it: SDL 2.26's wayland driver crashes while starting where there is none
// (weston's headless backend).
//
// Does:
//  - connect to the compositor SDL would use (WAYLAND_DISPLAY, else
//    wayland-0), list its globals once, and disconnect
// Does not:
//  - tell seats with a keyboard from seats without one
//  - take a socket handed over in WAYLAND_SOCKET (it can be taken once)
#pragma once

namespace platform::wayland {

enum class Seat {
  NoCompositor,  // nothing answers (or a socket handed over: SDL's to take)
  Present,
  Missing,       // a compositor answers, but offers no wl_seat
};

Seat ProbeSeat();

}  // namespace platform::wayland
