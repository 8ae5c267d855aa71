// Reads the desktop's layout (desktop_layout.hpp) from an X server and
// applies a restore plan to it, through RandR 1.2. The caller holds the
// server across reading, planning and applying, so that the change is one
// to every other client, and words a refusal, which comes back as text.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <string>

#include "platform/x11/desktop_layout.hpp"

namespace platform::x11 {

// Asks for the screen's changes, which ReadDesktopLayout reads: once, as
// soon as the connection is open.
void WatchScreen(Display* display);
DesktopLayout ReadDesktopLayout(Display* display, XRRScreenResources* resources);

// The mode's extent on the screen when shown with `rotation` (0 x 0 when
// the mode is not among the resources).
void ModeExtent(XRRScreenResources* resources, RandrId mode, std::uint16_t rotation, int& width,
                int& height);

// Sets one CRTC as `place` has it; false when the server says no at once
// (a failure it reports later comes as an X error).
bool SetCrtc(Display* display, XRRScreenResources* resources, const CrtcPlace& place);

// Sets the screen's size and density (a failure comes as an X error).
void SetScreenSize(Display* display, const ScreenSize& size);

// False, with `failure` filled in, when the server refused part of it; the
// desktop is then as it was.
bool ApplyRestorePlan(Display* display, XRRScreenResources* resources, const DesktopLayout& now,
                      const RestorePlan& plan, std::string* failure);

}  // namespace platform::x11
