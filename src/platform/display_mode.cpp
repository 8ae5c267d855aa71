#include "platform/display_mode.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <vector>

#include "platform/display_guardian.hpp"

namespace platform {
namespace {
bool g_enabled = true;

// One CRTC's configuration, enough to put it back as it was.
struct CrtcConfig {
  RRCrtc crtc = 0;
  RRMode mode = 0;
  int x = 0, y = 0;
  Rotation rotation = RR_Rotate_0;
  std::vector<RROutput> outputs;
};

Display* g_display = nullptr;
bool g_saved = false;
CrtcConfig g_desktop;

Display* OpenDisplay() {
  if (g_display) return g_display;
  g_display = XOpenDisplay(nullptr);
  if (!g_display) return nullptr;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(g_display, &event, &error) ||
      !XRRQueryVersion(g_display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
    XCloseDisplay(g_display);
    g_display = nullptr;
  }
  return g_display;
}

// The output the program's window appears on: the primary one, else the
// first connected output that drives a CRTC.
RROutput ChooseOutput(Display* display, XRRScreenResources* resources) {
  const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
  if (primary) return primary;
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    const bool usable = info && info->connection == RR_Connected && info->crtc;
    if (info) XRRFreeOutputInfo(info);
    if (usable) return resources->outputs[i];
  }
  return 0;
}

RRMode FindMode(XRRScreenResources* resources, XRROutputInfo* output, unsigned width,
                unsigned height) {
  for (int i = 0; i < output->nmode; ++i)
    for (int k = 0; k < resources->nmode; ++k) {
      const XRRModeInfo& mode = resources->modes[k];
      if (mode.id == output->modes[i] && mode.width == width && mode.height == height)
        return mode.id;
    }
  return 0;
}

bool ReadCrtc(Display* display, XRRScreenResources* resources, RRCrtc crtc, CrtcConfig& config) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  if (!info) return false;
  config = CrtcConfig{crtc, info->mode, info->x, info->y, info->rotation,
                      std::vector<RROutput>(info->outputs, info->outputs + info->noutput)};
  XRRFreeCrtcInfo(info);
  return true;
}

bool ApplyCrtc(Display* display, XRRScreenResources* resources, const CrtcConfig& config) {
  auto* outputs = const_cast<RROutput*>(config.outputs.data());
  const Status status =
      XRRSetCrtcConfig(display, resources, config.crtc, CurrentTime, config.x, config.y, config.mode,
                       config.rotation, outputs, static_cast<int>(config.outputs.size()));
  XSync(display, False);
  return status == RRSetConfigSuccess;
}

bool CrtcRunsAt(Display* display, XRRScreenResources* resources, RRCrtc crtc, unsigned width,
                unsigned height) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  const bool match = info && info->width == width && info->height == height;
  if (info) XRRFreeCrtcInfo(info);
  return match;
}

// Runs in the guard process, which shares none of the program's state but
// this copy of the desktop's configuration: it opens a connection of its own.
RestoreOutcome RestoreFromGuardian() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return RestoreOutcome::NoServer;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  const bool restored = resources && ApplyCrtc(display, resources, g_desktop);
  if (resources) XRRFreeScreenResources(resources);
  XCloseDisplay(display);
  return restored ? RestoreOutcome::Restored : RestoreOutcome::Refused;
}

bool Switch(Display* display, XRRScreenResources* resources, unsigned width, unsigned height) {
  const RROutput outputId = ChooseOutput(display, resources);
  XRROutputInfo* output = outputId ? XRRGetOutputInfo(display, resources, outputId) : nullptr;
  if (!output) return false;
  CrtcConfig config;
  const RRMode mode = FindMode(resources, output, width, height);
  const bool readable = output->crtc && ReadCrtc(display, resources, output->crtc, config);
  XRRFreeOutputInfo(output);
  if (!mode || !readable) return false;
  if (!g_saved) {
    g_desktop = config;
    g_saved = true;
    StartDisplayGuardian(RestoreFromGuardian);
  }
  config.mode = mode;
  TellDisplayGuardian(true);  // before the switch, so a crash during it is covered
  return ApplyCrtc(display, resources, config) &&
         CrtcRunsAt(display, resources, config.crtc, width, height);
}
}  // namespace

bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t) {
  Display* display = g_enabled ? OpenDisplay() : nullptr;
  if (!display) return false;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) return false;
  const bool switched = Switch(display, resources, width, height);
  XRRFreeScreenResources(resources);
  return switched;
}

void RestoreDisplayMode() {
  if (!g_saved || !g_display) return;
  XRRScreenResources* resources =
      XRRGetScreenResourcesCurrent(g_display, DefaultRootWindow(g_display));
  if (resources) {
    ApplyCrtc(g_display, resources, g_desktop);
    XRRFreeScreenResources(resources);
  }
  TellDisplayGuardian(false);
  g_saved = false;
}

bool DisplayIsSwitched() { return g_saved; }

void SetDisplaySwitchingEnabled(bool enabled) { g_enabled = enabled; }

}  // namespace platform
