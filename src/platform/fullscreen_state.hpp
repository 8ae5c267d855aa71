// The fullscreen mark a window manager reads when a window is first mapped.
#pragma once

#include <SDL.h>

namespace platform {

// Marks the hidden X11 window as fullscreen (_NET_WM_STATE_FULLSCREEN), so
// that a window manager shows it undecorated and above its panels as soon as
// it maps it, while SDL learns of no state change and waits for none.
// False on other drivers, or when the window is already mapped.
bool MarkFullscreenBeforeMapping(SDL_Window* window);

}  // namespace platform
