#include "platform/x11/fullscreen_hint.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform::x11 {

void MarkCoveringItsMonitor(Display* display, unsigned long window) {
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&fullscreen), 1);
}

}  // namespace platform::x11
