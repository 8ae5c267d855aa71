// Asking the Wayland compositor SDL would use whether it answers and has a
// seat, before SDL is let near it (see Quirks::sdlWaylandNeedsSeat).
//
// Does:
//  - connect as libwayland does (WAYLAND_DISPLAY, else wayland-0, in
//    XDG_RUNTIME_DIR unless a full path), list its globals in one round
//    trip, and disconnect
// Does not:
//  - tell seats with a keyboard from seats without one
//  - take a socket handed over in WAYLAND_SOCKET (it can be taken once)
#pragma once

#include "platform/host.hpp"

namespace platform::wayland {

Compositor ProbeCompositor();

}  // namespace platform::wayland
