#include "platform/platform.hpp"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/audio.hpp"
#include "platform/desktop_path.hpp"
#include "platform/display_guardian.hpp"
#include "platform/display_mode.hpp"
#include "platform/gl_surface.hpp"
#include "platform/keyboard.hpp"
#include "platform/letterbox.hpp"
#include "platform/session_bus.hpp"
#include "platform/x_errors.hpp"

namespace platform {
namespace {
enum class VideoState { NotTried, Up, Failed };

// What the layer as a whole holds: whether video came up and the last error.
struct PlatformState {
  VideoState video = VideoState::NotTried;
  std::string lastError;
};
PlatformState g_platform;

// SDL falls back to drivers that show nothing when there is no display;
// those count only when asked for by name (as the capture tool does).
bool ShowsNothingUnasked(const char* driver) {
  const bool invisible = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return invisible && !(asked && std::strcmp(asked, driver) == 0);
}
}  // namespace

bool InitVideo() {
  if (g_platform.video == VideoState::NotTried) {
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
      g_platform.video = VideoState::Failed;
      SetLastError(std::string("no display to show the scene on (") + SDL_GetError() + ")");
    } else if (ShowsNothingUnasked(SDL_GetCurrentVideoDriver())) {
      g_platform.video = VideoState::Failed;
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      SetLastError("no display to show the scene on (is DISPLAY or WAYLAND_DISPLAY set?)");
    } else {
      g_platform.video = VideoState::Up;
      StartKeyWatch();
    }
  }
  return g_platform.video == VideoState::Up;
}

void Shutdown() {
  // The display first, while the connection it was switched on is open.
  RestoreDisplayMode();
  CloseDisplayModeConnection();
  StopDisplayGuardian();
  ForgetLetterbox();
  // Music still playing (a start that failed half-way) stops with its device;
  // otherwise this is refused and changes nothing.
  SdlMixerAudio().Free();
  if (g_platform.video == VideoState::Up) {
    StopKeyWatch();
    ReleaseGLLibrary();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  SDL_Quit();
  // Only once SDL's own connection is closed: its last errors are still ours.
  RemoveXErrorHandler();
  ForgetDesktopPath();
  g_platform = PlatformState{};
}

std::string LastError() { return g_platform.lastError; }
void SetLastError(const std::string& text) { g_platform.lastError = text; }

}  // namespace platform
