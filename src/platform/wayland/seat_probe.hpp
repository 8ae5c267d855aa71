// Asking the Wayland compositor SDL would use whether it answers and has a
// seat, before SDL is let near it (see Quirks::sdlWaylandNeedsSeat), and
// whether any of its outputs is scaled (Quirks::xwaylandScaledUp). It
// connects as libwayland does (WAYLAND_DISPLAY, else wayland-0, in
// XDG_RUNTIME_DIR unless a full path) and does not tell seats with a
// keyboard from seats without one.
#pragma once

#include "platform/host.hpp"

namespace platform::wayland {

// `scaled`: an output announced a scale above 1 (wl_output.scale, rounded
// up by the compositor where the scale is fractional).
Compositor ProbeCompositor(bool& scaled);

}  // namespace platform::wayland
