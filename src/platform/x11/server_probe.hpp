// What the X server in DISPLAY offers, learnt before SDL connects to it.
//
// Does:
//  - ask the server on a connection opened and closed here
// Does not:
//  - wait for a server that cannot be reached, beyond Xlib's own connect
#pragma once

namespace platform::x11 {

struct ServerFacts {
  bool reachable = false;  // DISPLAY names a server that accepts us
  bool randr = false;      // and it has the RandR extension
};

ServerFacts ProbeServer();

}  // namespace platform::x11
