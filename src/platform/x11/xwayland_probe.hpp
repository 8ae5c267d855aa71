// Telling Xwayland from an X server that really drives its monitors.
//
// Does:
//  - ask the server in DISPLAY, on a connection opened and closed here
// Does not:
//  - anything for servers it cannot reach (they count as not Xwayland)
#pragma once

namespace platform::x11 {

// Xwayland announces itself with an extension of its own; older servers
// only through the names of their RandR outputs ("XWAYLAND0", ...).
bool ServerIsXwayland();

}  // namespace platform::x11
