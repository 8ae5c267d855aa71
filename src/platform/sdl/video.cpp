#include "platform/sdl/video.hpp"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/posix/session_bus.hpp"
#include "platform/sdl/display_reach.hpp"
#include "platform/x11/server_probe.hpp"

namespace platform {
namespace {
// SDL falls back to drivers that show nothing when there is no display;
// those count only when asked for by name (as the capture tool does).
bool ShowsNothingUnasked(const char* driver) {
  const bool invisible = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return invisible && !(asked && std::strcmp(asked, driver) == 0);
}

// The video driver asked for by name ("" when SDL chooses).
std::string AskedDriver() {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return asked ? asked : "";
}

// What SDL should know before it looks for a display, and whether there is
// one to find; false, with `error` filled in, when there is none.
bool PrepareForDisplay(const std::string& asked, const x11::ServerProbe& x, std::string& error) {
  // SDL asks for RandR's version without looking whether the server has the
  // extension, and Xlib then prints that it is missing.
  if (x.Reachable() && !x.HasRandr()) SDL_SetHint(SDL_HINT_VIDEO_X11_XRANDR, "0");
  // The window is fullscreen and borderless: it needs no decorations, and
  // libdecor, where SDL would take them from on a compositor that draws
  // none (GNOME's), prints lines about its plugins.
  SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, "0");
  if (!asked.empty()) return true;
  error = WhyNoDisplayReachable(x.Reachable());
  return error.empty();
}
}  // namespace

SdlVideo::~SdlVideo() {
  if (m_up) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

bool SdlVideo::Start(std::string& error) {
  // Termination signals are handled by our own event layer, so that they
  // close the window the same way Escape does.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A message box taking the focus must not minimise the scene.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Held until SDL has its own connection; the X server is left alone
  // where another driver is asked for by name.
  const std::string asked = AskedDriver();
  const x11::ServerProbe xServer(asked.empty() || asked.find("x11") != std::string::npos);
  if (!PrepareForDisplay(asked, xServer, error)) return false;
  const bool started = [] {
    posix::NoSessionBusLaunch noLaunch;
    return SDL_Init(SDL_INIT_VIDEO) == 0;
  }();
  if (!started) {
    error = std::string("no display to show the scene on (") + SDL_GetError() + ")";
    return false;
  }
  if (ShowsNothingUnasked(SDL_GetCurrentVideoDriver())) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    error = "no display to show the scene on (is DISPLAY or WAYLAND_DISPLAY set?)";
    return false;
  }
  m_up = true;
  return true;
}

const char* SdlVideo::Driver() const { return m_up ? SDL_GetCurrentVideoDriver() : nullptr; }

}  // namespace platform
