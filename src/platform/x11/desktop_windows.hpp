// The desktop's top-level windows as the window manager keeps them (after
// the EWMH conventions), read and moved on an X connection; which to move
// is window_places.hpp's. Without a window manager there are none to read.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/x11/window_places.hpp"

namespace platform::x11 {

// The 32-bit items of `property` on `window` (at most `most`), of `type`;
// empty when it is not there.
std::vector<unsigned long> ReadProperty(Display* display, ::Window window, Atom property, Atom type,
                                        long most);
// The EWMH request `type` about `window`, sent to the root window, where
// the window manager listens.
void SendToWindowManager(Display* display, ::Window window, const char* type,
                         const long (&data)[5]);
// The windows _NET_CLIENT_LIST names, but this process's, each at its
// frame's corner (the client's less its _NET_FRAME_EXTENTS).
WindowPlaces ReadWindowPlaces(Display* display);
// With _NET_MOVERESIZE_WINDOW where the manager supports it, else with a
// plain configure request.
void MoveWindows(Display* display, const std::vector<WindowPlace>& moves);

}  // namespace platform::x11
