#include "platform/x11/randr_desktop.hpp"

#include <algorithm>
#include <vector>

#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// Xlib's copy of the screen's size and density, brought up to date by the
// screen changes this connection was told of (WatchScreen): a density set
// with the size unchanged (xrandr --dpi) reaches no client in another way.
ScreenSize ReadScreenSize(Display* display) {
  int eventBase = 0, errorBase = 0;
  XRRQueryExtension(display, &eventBase, &errorBase);
  XSync(display, False);
  XEvent event;
  while (XCheckTypedEvent(display, eventBase + RRScreenChangeNotify, &event))
    XRRUpdateConfiguration(&event);
  const int screen = DefaultScreen(display);
  return ScreenSize{DisplayWidth(display, screen), DisplayHeight(display, screen),
                    DisplayWidthMM(display, screen), DisplayHeightMM(display, screen)};
}

bool ReadCrtcPlace(Display* display, XRRScreenResources* resources, RRCrtc crtc, CrtcPlace& place) {
  const CrtcInfo info = ReadCrtc(display, resources, crtc);
  if (!info || info->mode == None || info->noutput <= 0) return false;
  place = CrtcPlace{static_cast<RandrId>(crtc), static_cast<RandrId>(info->mode), info->x, info->y,
                    static_cast<int>(info->width), static_cast<int>(info->height),
                    static_cast<std::uint16_t>(info->rotation), std::min(info->noutput, kMaxClones)};
  std::copy(info->outputs, info->outputs + place.outputCount, place.outputs);
  return true;
}

bool SamePlace(const CrtcPlace& a, const CrtcPlace& b) {
  return a.mode == b.mode && a.x == b.x && a.y == b.y && a.rotation == b.rotation;
}
}  // namespace

Resources CurrentResources(Display* display) {
  return Resources(XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)));
}

OutputInfo ReadOutput(Display* display, XRRScreenResources* resources, RROutput output) {
  return OutputInfo(output ? XRRGetOutputInfo(display, resources, output) : nullptr);
}

CrtcInfo ReadCrtc(Display* display, XRRScreenResources* resources, RRCrtc crtc) {
  return CrtcInfo(XRRGetCrtcInfo(display, resources, crtc));
}

bool SetCrtc(Display* display, XRRScreenResources* resources, const CrtcPlace& place) {
  RROutput outputs[kMaxClones];
  std::copy(place.outputs, place.outputs + place.outputCount, outputs);
  const bool accepted = XRRSetCrtcConfig(display, resources, place.crtc, CurrentTime, place.x, place.y,
                                         place.mode, place.rotation, outputs,
                                         place.outputCount) == RRSetConfigSuccess;
  return !RequestsFailed(display) && accepted;
}

void WatchScreen(Display* display) {
  XRRSelectInput(display, DefaultRootWindow(display), RRScreenChangeNotifyMask);
}

DesktopLayout ReadDesktopLayout(Display* display, XRRScreenResources* resources) {
  DesktopLayout layout;
  layout.screen = ReadScreenSize(display);
  XRRGetScreenSizeRange(display, DefaultRootWindow(display), &layout.minimum.width,
                        &layout.minimum.height, &layout.maximum.width, &layout.maximum.height);
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

void SetScreenSize(Display* display, const ScreenSize& size) {
  XRRSetScreenSize(display, DefaultRootWindow(display), size.width, size.height, size.widthMm,
                   size.heightMm);
}

// The screen first (it only grows, so each CRTC fits), then each CRTC that
// changes. Should the server refuse any of it, or the screen exceed its
// maximum, what was set is set back.
bool ApplyRestorePlan(Display* display, XRRScreenResources* resources, const DesktopLayout& now,
                      const RestorePlan& plan, std::string& failure) {
  const bool resizes = plan.fits && plan.ChangesScreen(now.screen);
  if (resizes) SetScreenSize(display, plan.screen);
  bool taken = plan.fits && !RequestsFailed(display);
  if (!taken)
    failure = "the X server refuses a " + std::to_string(plan.screen.width) + "x" +
              std::to_string(plan.screen.height) + " screen";
  std::vector<CrtcPlace> changed;  // as they were
  for (std::size_t i = 0; taken && i < plan.crtcs.size(); ++i) {
    if (SamePlace(now.crtcs[i], plan.crtcs[i])) continue;
    changed.push_back(now.crtcs[i]);
    taken = SetCrtc(display, resources, plan.crtcs[i]);
    if (!taken) failure = "the server refused the mode";
  }
  if (taken) return true;
  for (const CrtcPlace& place : changed) SetCrtc(display, resources, place);
  if (resizes) SetScreenSize(display, now.screen);
  RequestsFailed(display);
  return false;
}

}  // namespace platform::x11
