// Asking the Wayland compositor SDL would use, before SDL is let near it,
// whether it answers and has a seat (Quirks::sdlWaylandNeedsSeat; a seat
// without a keyboard counts) and whether an output is scaled
// (Quirks::xwaylandScaledUp), connecting as libwayland does.
#pragma once

#include "platform/host.hpp"

namespace platform::wayland {

// `scaled`: an output announced a scale above 1 (a fractional one rounded up).
Compositor ProbeCompositor(bool& scaled);

}  // namespace platform::wayland
