#include "platform/platform.hpp"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/keyboard.hpp"
#include "platform/session_bus.hpp"
#include "platform/x_errors.hpp"

namespace platform {
namespace {
std::string g_lastError;
int g_videoState = 0;  // 0 not tried, 1 up, -1 failed

// SDL falls back to drivers that show nothing when there is no display;
// those count only when asked for by name (as the capture tool does).
bool ShowsNothingUnasked(const char* driver) {
  const bool invisible = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return invisible && !(asked && std::strcmp(asked, driver) == 0);
}
}  // namespace

bool InitVideo() {
  if (g_videoState == 0) {
    // Termination signals are handled by our own event layer, so that they
    // close the window the same way Escape does.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A message box taking the focus must not minimise the scene.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // An X error on SDL's connection (a GL driver the server refuses) must
    // end in a failed call, not in Xlib ending the process.
    InstallXErrorHandler();
    const bool started = [] {
      NoSessionBusLaunch noLaunch;
      return SDL_Init(SDL_INIT_VIDEO) == 0;
    }();
    if (!started) {
      g_videoState = -1;
      SetLastError(std::string("no display to show the scene on (") + SDL_GetError() + ")");
    } else if (ShowsNothingUnasked(SDL_GetCurrentVideoDriver())) {
      g_videoState = -1;
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      SetLastError("no display to show the scene on (is DISPLAY or WAYLAND_DISPLAY set?)");
    } else {
      g_videoState = 1;
      StartKeyWatch();
    }
  }
  return g_videoState == 1;
}

void Shutdown() {
  if (g_videoState == 1) {
    StopKeyWatch();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  g_videoState = 0;
  SDL_Quit();
}

std::string LastError() { return g_lastError; }
void SetLastError(const std::string& text) { g_lastError = text; }

}  // namespace platform
