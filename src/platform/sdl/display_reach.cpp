#include "platform/sdl/display_reach.hpp"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {
namespace {
// The variable's value, or "" when it is not set.
std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// libwayland's rule: WAYLAND_SOCKET, else the socket WAYLAND_DISPLAY
// (default "wayland-0") names, in XDG_RUNTIME_DIR unless it is a full path.
bool WaylandReachable() {
  if (!Env("WAYLAND_SOCKET").empty()) return true;
  std::string path = Env("WAYLAND_DISPLAY");
  if (path.empty()) path = "wayland-0";
  if (path.front() != '/') {
    const std::string runtimeDir = Env("XDG_RUNTIME_DIR");
    if (runtimeDir.empty()) return false;
    path = runtimeDir + "/" + path;
  }
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}
}  // namespace

std::string WhyNoDisplayReachable(bool xReachable) {
  if (xReachable || WaylandReachable()) return "";
  const std::string x = Env("DISPLAY"), wayland = Env("WAYLAND_DISPLAY");
  const std::string xPart = "the X server " + x + " (DISPLAY)";
  const std::string waylandPart = "the Wayland compositor " + wayland + " (WAYLAND_DISPLAY)";
  if (!x.empty() && !wayland.empty()) return "cannot reach " + xPart + " nor " + waylandPart;
  if (!x.empty()) return "cannot reach " + xPart;
  if (!wayland.empty()) return "cannot reach " + waylandPart;
  return "no display to show the scene on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

}  // namespace platform
