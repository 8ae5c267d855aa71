// The window-manager requests that a window covers its monitor and is the
// active one, made by hand on X11: SDL's own fullscreen would size the
// window from the display sizes it read at start-up, before the display was
// switched, and SDL asks for activation with a zero timestamp.
//
// Does:
//  - drop a not yet mapped window's fixed size, and stamp it with the
//    server's time as its last user activity (_NET_WM_USER_TIME), as a
//    program just started by the user
//  - once the window manager has mapped it, ask for fullscreen through the
//    _NET_WM_STATE client message and for activation through
//    _NET_ACTIVE_WINDOW with that time
// Does not:
//  - resize the window, or set _NET_WM_STATE itself
#pragma once

struct _XDisplay;

namespace platform::x11 {

// For a window not yet mapped: drops its minimum and maximum size, and
// stamps it with the server's current time (read from the PropertyNotify an
// empty append to a property brings) as its user time; returns that time.
unsigned long PrepareToCoverItsMonitor(_XDisplay* display, unsigned long window);

// For a mapped window: asks the window manager to make it fullscreen, on
// top of panels and undecorated, and active, as of `userTime`. A window
// manager applies the first only to a window it manages, so this comes
// after the map, not as an initial _NET_WM_STATE (which some managers
// apply before their own placement and decoration rules, and then keep).
void RequestCoveringItsMonitor(_XDisplay* display, unsigned long window, unsigned long userTime);

}  // namespace platform::x11
