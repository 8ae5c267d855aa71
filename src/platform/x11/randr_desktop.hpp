// Reads the desktop's layout (desktop_layout.hpp) from an X server and
// applies a restore plan to it, through RandR 1.2. Does not hold the
// server: the caller holds it across reading, planning and applying, so
// that every other client sees one change.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>
#include <string>

#include "platform/x11/desktop_layout.hpp"

namespace platform::x11 {

// RandR's replies, freed when they go.
struct RandrFree {
  void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
  void operator()(XRROutputInfo* output) const { XRRFreeOutputInfo(output); }
  void operator()(XRRCrtcInfo* crtc) const { XRRFreeCrtcInfo(crtc); }
};
using Resources = std::unique_ptr<XRRScreenResources, RandrFree>;
using OutputInfo = std::unique_ptr<XRROutputInfo, RandrFree>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, RandrFree>;

Resources CurrentResources(Display* display);
OutputInfo ReadOutput(Display* display, XRRScreenResources* resources, RROutput output);  // 0: none
CrtcInfo ReadCrtc(Display* display, XRRScreenResources* resources, RRCrtc crtc);

void WatchScreen(Display* display);  // once, at the connection's start, for ReadDesktopLayout
DesktopLayout ReadDesktopLayout(Display* display, XRRScreenResources* resources);

// The mode's extent on the screen with `rotation`; 0 x 0 for an unknown mode.
void ModeExtent(XRRScreenResources* resources, RandrId mode, std::uint16_t rotation, int& width,
                int& height);

// True when the server took it, with no X error.
bool SetCrtc(Display* display, XRRScreenResources* resources, const CrtcPlace& place);
void SetScreenSize(Display* display, const ScreenSize& size);

// False, with `failure` worded, when the server refused part of it; the
// desktop is then as it was.
bool ApplyRestorePlan(Display* display, XRRScreenResources* resources, const DesktopLayout& now,
                      const RestorePlan& plan, std::string& failure);

}  // namespace platform::x11
