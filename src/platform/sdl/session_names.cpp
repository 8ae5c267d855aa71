#include "platform/sdl/session_names.hpp"

#include <SDL.h>

namespace platform {

void NameSessionCalls(bool keepsScreenAwake) {
  SDL_SetHint(SDL_HINT_APP_NAME, "Winterhain");
  SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Showing a fullscreen animation");
  // SDL inhibits the screen saver when its video starts unless allowed to
  // blank, and then tells the session every 30 s that the user is active.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, keepsScreenAwake ? "0" : "1");
}

}  // namespace platform
