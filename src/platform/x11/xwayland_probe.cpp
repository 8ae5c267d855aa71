#include "platform/x11/xwayland_probe.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>

namespace platform::x11 {
namespace {
bool NamedXwayland(const char* name) { return std::strncmp(name, "XWAYLAND", 8) == 0; }

bool HasXwaylandOutput(Display* display) {
  int event = 0, error = 0;
  if (!XRRQueryExtension(display, &event, &error)) return false;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) return false;
  bool found = false;
  for (int i = 0; i < resources->noutput && !found; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    found = info && NamedXwayland(info->name);
    if (info) XRRFreeOutputInfo(info);
  }
  XRRFreeScreenResources(resources);
  return found;
}
}  // namespace

bool ServerIsXwayland() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  int opcode = 0, event = 0, error = 0;
  const bool xwayland =
      XQueryExtension(display, "XWAYLAND", &opcode, &event, &error) || HasXwaylandOutput(display);
  XCloseDisplay(display);
  return xwayland;
}

}  // namespace platform::x11
