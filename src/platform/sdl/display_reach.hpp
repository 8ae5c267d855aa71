// Whether SDL's x11 or wayland driver can reach a display at all, told
// before SDL tries: where none can, SDL would fall back to drivers that show
// nothing, and its wayland driver, tried without a runtime folder, has
// libwayland print "error: XDG_RUNTIME_DIR is invalid or not set".
//
// Does:
//  - name what DISPLAY and WAYLAND_DISPLAY point at when neither can be
//    reached
// Does not:
//  - connect to a compositor: its socket being there counts as reachable
#pragma once

#include <string>

namespace platform {

// Empty when a display can be reached (`xReachable`: the X server in
// DISPLAY accepted a connection); otherwise one sentence saying why not.
std::string WhyNoDisplayReachable(bool xReachable);

}  // namespace platform
