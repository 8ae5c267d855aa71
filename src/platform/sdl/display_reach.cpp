#include "platform/sdl/display_reach.hpp"

#include <cstdlib>

namespace platform {
namespace {
// The variable's value, or "" when it is not set.
std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}
}  // namespace

std::string WhyNoDisplayReachable(const Host& host) {
  if (host.x || (host.wayland != Compositor::Absent && host.wayland != Compositor::NotAsked))
    return "";
  const std::string x = Env("DISPLAY"), wayland = Env("WAYLAND_DISPLAY");
  const std::string xPart = "the X server " + x + " (DISPLAY)";
  const std::string waylandPart = "the Wayland compositor " + wayland + " (WAYLAND_DISPLAY)";
  if (!x.empty() && !wayland.empty()) return "cannot reach " + xPart + " nor " + waylandPart;
  if (!x.empty()) return "cannot reach " + xPart;
  if (!wayland.empty()) return "cannot reach " + waylandPart;
  return "no display to show the scene on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

}  // namespace platform
