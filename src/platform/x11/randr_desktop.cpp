#include "platform/x11/randr_desktop.hpp"

#include <algorithm>

#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// The root window's size is the screen's, asked of the server: Xlib's
// copy is only brought up to date by events this connection never reads.
// The millimetres keep the density Xlib last knew.
ScreenSize ReadScreenSize(Display* display) {
  ::Window root = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border, &depth);
  const int screen = DefaultScreen(display);
  const int knownWidth = std::max(DisplayWidth(display, screen), 1);
  const int knownHeight = std::max(DisplayHeight(display, screen), 1);
  return ScreenSize{static_cast<int>(width), static_cast<int>(height),
                    static_cast<int>(static_cast<long>(DisplayWidthMM(display, screen)) * width / knownWidth),
                    static_cast<int>(static_cast<long>(DisplayHeightMM(display, screen)) * height / knownHeight)};
}

bool ReadCrtcPlace(Display* display, XRRScreenResources* resources, RRCrtc crtc, CrtcPlace& place) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  const bool inUse = info && info->mode != None && info->noutput > 0;
  if (inUse) {
    place = CrtcPlace{};
    place.crtc = static_cast<RandrId>(crtc);
    place.mode = static_cast<RandrId>(info->mode);
    place.x = info->x;
    place.y = info->y;
    place.width = static_cast<int>(info->width);
    place.height = static_cast<int>(info->height);
    place.rotation = static_cast<std::uint16_t>(info->rotation);
    place.outputCount = std::min(info->noutput, kMaxClones);
    for (int i = 0; i < place.outputCount; ++i) place.outputs[i] = static_cast<RandrId>(info->outputs[i]);
  }
  if (info) XRRFreeCrtcInfo(info);
  return inUse;
}

}  // namespace

bool SetCrtc(Display* display, XRRScreenResources* resources, const CrtcPlace& place) {
  RROutput outputs[kMaxClones];
  std::copy(place.outputs, place.outputs + place.outputCount, outputs);
  return XRRSetCrtcConfig(display, resources, place.crtc, CurrentTime, place.x, place.y, place.mode,
                          place.rotation, outputs, place.outputCount) == RRSetConfigSuccess;
}

DesktopLayout ReadDesktopLayout(Display* display, XRRScreenResources* resources) {
  DesktopLayout layout;
  layout.screen = ReadScreenSize(display);
  XRRGetScreenSizeRange(display, DefaultRootWindow(display), &layout.minimum.width,
                        &layout.minimum.height, &layout.maximum.width, &layout.maximum.height);
  layout.primary = static_cast<RandrId>(XRRGetOutputPrimary(display, DefaultRootWindow(display)));
  CrtcPlace place;
  for (int i = 0; i < resources->ncrtc; ++i)
    if (ReadCrtcPlace(display, resources, resources->crtcs[i], place)) layout.Add(place);
  return layout;
}

void ModeExtent(XRRScreenResources* resources, RandrId mode, std::uint16_t rotation, int& width,
                int& height) {
  width = height = 0;
  for (int i = 0; i < resources->nmode; ++i)
    if (resources->modes[i].id == mode) {
      width = static_cast<int>(resources->modes[i].width);
      height = static_cast<int>(resources->modes[i].height);
    }
  if (rotation & (RR_Rotate_90 | RR_Rotate_270)) std::swap(width, height);
}

bool ApplyRestorePlan(Display* display, XRRScreenResources* resources, const DesktopLayout& now,
                      const RestorePlan& plan, std::string* failure) {
  if (plan.ChangesScreen(now.screen))
    XRRSetScreenSize(display, DefaultRootWindow(display), plan.screen.width, plan.screen.height,
                     plan.screen.widthMm, plan.screen.heightMm);
  bool taken = true;
  for (const CrtcPlace& place : plan.crtcs) taken = SetCrtc(display, resources, place) && taken;
  const bool refused = RequestsFailed(display, failure);
  if (!refused && !taken && failure) *failure = "the server refused the mode";
  return !refused && taken;
}

}  // namespace platform::x11
