// Whether SDL's x11 or wayland driver can reach a display at all, told
// before SDL tries: where none can, SDL would fall back to drivers that show
// nothing, and its wayland driver, tried without a runtime folder, has
// libwayland print "error: XDG_RUNTIME_DIR is invalid or not set".
//
// Does:
//  - name what DISPLAY and WAYLAND_DISPLAY point at when neither can be
//    reached
#pragma once

#include <string>

#include "platform/host.hpp"

namespace platform {

// Empty when a display can be reached (an X server or a Wayland compositor
// of `host` answered, or a Wayland socket was handed over); otherwise one
// sentence saying why not.
std::string WhyNoDisplayReachable(const Host& host);

}  // namespace platform
