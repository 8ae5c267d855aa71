#include "platform/desktop_path.hpp"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>
#include <optional>

#include "platform/platform.hpp"

namespace platform {
namespace {
struct DesktopPathState {
  std::optional<DesktopPath> decided;  // empty until first asked for
};
DesktopPathState g_desktopPath;

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

// Xwayland announces itself with an extension of its own; older servers
// only through the names of their RandR outputs.
bool ServerIsXwayland() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  int opcode = 0, event = 0, error = 0;
  const bool xwayland =
      XQueryExtension(display, "XWAYLAND", &opcode, &event, &error) || HasXwaylandOutput(display);
  XCloseDisplay(display);
  return xwayland;
}

DesktopPath Decide() {
  if (!InitVideo()) return DesktopPath::Other;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return DesktopPath::Other;
  if (std::strcmp(driver, "wayland") == 0) return DesktopPath::NativeWayland;
  if (std::strcmp(driver, "x11") != 0) return DesktopPath::Other;
  return ServerIsXwayland() ? DesktopPath::Xwayland : DesktopPath::RealX;
}
}  // namespace

DesktopPath CurrentDesktopPath() {
  if (!g_desktopPath.decided) g_desktopPath.decided = Decide();
  return *g_desktopPath.decided;
}

void ForgetDesktopPath() { g_desktopPath = DesktopPathState{}; }

bool DesktopIsX11() {
  const DesktopPath path = CurrentDesktopPath();
  return path == DesktopPath::RealX || path == DesktopPath::Xwayland;
}

bool DesktopIsWayland() {
  const DesktopPath path = CurrentDesktopPath();
  return path == DesktopPath::Xwayland || path == DesktopPath::NativeWayland;
}

}  // namespace platform
