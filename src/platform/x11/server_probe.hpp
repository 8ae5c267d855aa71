// What the X server in DISPLAY offers, learnt before SDL connects to it.
//
// Does:
//  - ask the server on a connection of its own, held while the probe
//    lives: keep it until SDL has connected, since a server whose last
//    client leaves resets and refuses connections meanwhile (Xvfb, Xorg
//    without -noreset)
// Does not:
//  - wait for a server that cannot be reached, beyond the library's own
//    connect
//  - print anything, even where the server refuses us (libxcb would)
#pragma once

struct xcb_connection_t;

namespace platform::x11 {

class ServerProbe {
 public:
  // Asks nothing, and finds the server unreachable, unless `ask`.
  explicit ServerProbe(bool ask);
  ~ServerProbe();
  ServerProbe(const ServerProbe&) = delete;
  ServerProbe& operator=(const ServerProbe&) = delete;

  // DISPLAY names a server that accepted us.
  bool Reachable() const { return m_connection != nullptr; }
  // And it has the RandR extension.
  bool HasRandr() const { return m_randr; }

 private:
  xcb_connection_t* m_connection = nullptr;
  bool m_randr = false;
};

}  // namespace platform::x11
