#include "platform/x11_fullscreen_hint.hpp"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

void MarkCoveringItsMonitor(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, info.info.x11.window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&fullscreen), 1);
}

}  // namespace platform
