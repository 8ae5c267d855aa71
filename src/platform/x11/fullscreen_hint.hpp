// The window-manager requests that a window covers its monitor and is the
// active one, made by hand on X11: SDL's own fullscreen would size the
// window from the display sizes it read at start-up, before the display was
// switched, and SDL asks for activation with a zero timestamp.
#pragma once

struct _XDisplay;

namespace platform::x11 {

// For a window not yet mapped: drops its minimum and maximum size, and
// stamps it with the server's current time (read from the PropertyNotify an
// empty append to a property brings) as its user time; returns that time.
unsigned long PrepareToCoverItsMonitor(_XDisplay* display, unsigned long window);

// For a mapped window: asks the window manager to make it fullscreen, on
// top of panels and undecorated, and active, as of `userTime`. After the
// map, not as an initial _NET_WM_STATE: a manager applies fullscreen only
// to a window it manages, and some apply an initial state before their own
// placement and decoration rules, and then keep those.
void RequestCoveringItsMonitor(_XDisplay* display, unsigned long window, unsigned long userTime);

}  // namespace platform::x11
