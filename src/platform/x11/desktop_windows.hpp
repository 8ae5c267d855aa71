// The desktop's top-level windows as the window manager keeps them (after
// the EWMH conventions), read and moved on an X connection.
//
// Does:
//  - read the places of the windows the root's _NET_CLIENT_LIST names,
//    each its frame's top-left corner (the client's corner less the
//    _NET_FRAME_EXTENTS the manager gives), this process's own left out
//  - ask the window manager to move windows there again: with a
//    _NET_MOVERESIZE_WINDOW message to the root where it supports that,
//    else with a plain configure request
//  - send the window manager any other request of those conventions
// Does not:
//  - decide which windows to move (window_places.hpp)
//  - read windows without a window manager: nothing moves them then
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "platform/x11/window_places.hpp"

namespace platform::x11 {

// Sends the EWMH request `type` (an atom's name) about `window` to the
// root window, where the window manager listens.
void SendToWindowManager(Display* display, ::Window window, const char* type,
                         const long (&data)[5]);
WindowPlaces ReadWindowPlaces(Display* display);
void MoveWindows(Display* display, const std::vector<WindowPlace>& moves);

}  // namespace platform::x11
