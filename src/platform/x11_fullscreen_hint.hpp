// The window-manager hint that a window covers its monitor, set by hand on
// X11: SDL's own fullscreen would size the window from the display sizes it
// read at start-up, before the display was switched.
#pragma once

#include <SDL.h>

namespace platform {

// Marks the not yet mapped window with _NET_WM_STATE_FULLSCREEN, so that a
// window manager keeps it above panels and undecorated. Does nothing for
// windows that are not on X11.
void MarkCoveringItsMonitor(SDL_Window* window);

}  // namespace platform
