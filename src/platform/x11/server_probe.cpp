#include "platform/x11/server_probe.hpp"

#include <X11/Xlib.h>

namespace platform::x11 {

ServerFacts ProbeServer() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return {};
  int opcode = 0, event = 0, error = 0;
  const bool randr = XQueryExtension(display, "RANDR", &opcode, &event, &error);
  XCloseDisplay(display);
  return {.reachable = true, .randr = randr};
}

}  // namespace platform::x11
