// The window-manager hint that a window covers its monitor, set by hand on
// X11: SDL's own fullscreen would size the window from the display sizes it
// read at start-up, before the display was switched.
//
// Does:
//  - set _NET_WM_STATE_FULLSCREEN on a window not yet mapped
// Does not:
//  - resize the window
#pragma once

struct _XDisplay;

namespace platform::x11 {

// Marks the not yet mapped window with _NET_WM_STATE_FULLSCREEN, so that a
// window manager keeps it above panels and undecorated.
void MarkCoveringItsMonitor(_XDisplay* display, unsigned long window);

}  // namespace platform::x11
