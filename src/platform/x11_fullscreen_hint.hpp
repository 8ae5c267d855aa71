// The window-manager hint that a window covers its monitor, set by hand on
// X11: SDL's own fullscreen would size the window from the display sizes it
// read at start-up, before the display was switched.
//
// Does:
//  - set _NET_WM_STATE_FULLSCREEN on a window not yet mapped, on X11
// Does not:
//  - resize the window, or anything for windows that are not on X11
#pragma once

#include <SDL.h>

namespace platform {

// Marks the not yet mapped window with _NET_WM_STATE_FULLSCREEN, so that a
// window manager keeps it above panels and undecorated. Does nothing for
// windows that are not on X11.
void MarkCoveringItsMonitor(SDL_Window* window);

}  // namespace platform
