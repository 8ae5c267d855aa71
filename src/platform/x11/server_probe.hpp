// What the X server in DISPLAY offers, learnt before SDL connects to it.
//
// Does:
//  - ask the server on a connection of its own, held while the probe
//    lives: keep it until SDL has connected, since a server whose last
//    client leaves resets and refuses connections meanwhile (Xvfb, Xorg
//    without -noreset)
// Does not:
//  - wait for a server that cannot be reached, beyond Xlib's own connect
#pragma once

struct _XDisplay;

namespace platform::x11 {

class ServerProbe {
 public:
  // Asks nothing, and finds the server unreachable, unless `ask`.
  explicit ServerProbe(bool ask);
  ~ServerProbe();
  ServerProbe(const ServerProbe&) = delete;
  ServerProbe& operator=(const ServerProbe&) = delete;

  // DISPLAY names a server that accepted us.
  bool Reachable() const { return m_display != nullptr; }
  // And it has the RandR extension.
  bool HasRandr() const { return m_randr; }
  // DISPLAY names the first of its screens (":0", ":0.0"): the screen SDL's
  // RandR displays begin with, whichever screen DISPLAY names.
  bool OnFirstScreen() const { return m_firstScreen; }

 private:
  _XDisplay* m_display = nullptr;
  bool m_randr = false;
  bool m_firstScreen = true;
};

}  // namespace platform::x11
