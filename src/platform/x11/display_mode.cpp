#include "platform/x11/display_mode.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// Each running instance's switch is recorded on the root window as
// (output, desktop mode) pairs, so that an instance started while another
// has the output switched puts back the desktop's mode, not the switched one.
constexpr const char* kDesktopModesProperty = "_WINTERHAIN_DESKTOP_MODES";

std::vector<unsigned long> ReadDesktopModes(Display* display) {
  const Atom property = XInternAtom(display, kDesktopModesProperty, False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, rest = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> pairs;
  if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 64, False, XA_CARDINAL,
                         &type, &format, &count, &rest, &data) == Success &&
      type == XA_CARDINAL && format == 32 && data) {
    const auto* values = reinterpret_cast<const unsigned long*>(data);
    pairs.assign(values, values + count - count % 2);
  }
  if (data) XFree(data);
  return pairs;
}

void WriteDesktopModes(Display* display, const std::vector<unsigned long>& pairs) {
  const Atom property = XInternAtom(display, kDesktopModesProperty, False);
  if (pairs.empty()) {
    XDeleteProperty(display, DefaultRootWindow(display), property);
  } else {
    XChangeProperty(display, DefaultRootWindow(display), property, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(pairs.data()),
                    static_cast<int>(pairs.size()));
  }
  XSync(display, False);
}

// The desktop mode recorded for `output`, or 0.
RRMode RecordedDesktopMode(Display* display, RROutput output) {
  const std::vector<unsigned long> pairs = ReadDesktopModes(display);
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2)
    if (pairs[i] == output) return pairs[i + 1];
  return 0;
}

// Every pair but the one for `output`.
std::vector<unsigned long> DesktopModesWithout(Display* display, RROutput output) {
  const std::vector<unsigned long> old = ReadDesktopModes(display);
  std::vector<unsigned long> pairs;
  for (std::size_t i = 0; i + 1 < old.size(); i += 2)
    if (old[i] != output) pairs.insert(pairs.end(), {old[i], old[i + 1]});
  return pairs;
}

void RecordDesktopMode(Display* display, RROutput output, RRMode mode) {
  std::vector<unsigned long> pairs = DesktopModesWithout(display, output);
  pairs.insert(pairs.end(), {output, mode});
  WriteDesktopModes(display, pairs);
}

void ForgetDesktopMode(Display* display, RROutput output) {
  const std::vector<unsigned long> pairs = DesktopModesWithout(display, output);
  if (pairs.size() != ReadDesktopModes(display).size()) WriteDesktopModes(display, pairs);
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

// False, with `failure` filled in, when the server refused the change.
bool ApplyCrtc(Display* display, XRRScreenResources* resources, const CrtcConfig& config,
               std::string* failure = nullptr) {
  auto* outputs = const_cast<RROutput*>(config.outputs.data());
  const Status status =
      XRRSetCrtcConfig(display, resources, config.crtc, CurrentTime, config.x, config.y, config.mode,
                       config.rotation, outputs, static_cast<int>(config.outputs.size()));
  const bool refused = RequestsFailed(display, failure);
  if (!refused && status != RRSetConfigSuccess && failure) *failure = "the server refused the mode";
  return !refused && status == RRSetConfigSuccess;
}

bool CrtcRunsAt(Display* display, XRRScreenResources* resources, RRCrtc crtc, unsigned width,
                unsigned height) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  const bool match = info && info->width == width && info->height == height;
  if (info) XRRFreeCrtcInfo(info);
  return match;
}

// The mode to put back when the output already runs the scene's mode, most
// likely switched by another instance: the one that instance recorded, else
// the output's preferred mode, else the current one.
RRMode DesktopModeOf(Display* display, XRROutputInfo* output, RROutput outputId, RRMode current,
                     RRMode sceneMode) {
  if (current != sceneMode) return current;
  if (const RRMode recorded = RecordedDesktopMode(display, outputId)) return recorded;
  if (output->npreferred > 0) return output->modes[0];
  return current;
}
}  // namespace

DisplaySwitch::~DisplaySwitch() {
  Restore();
  if (!m_display) return;
  RequestsFailed(m_display);  // claims its last failure, if any
  XCloseDisplay(m_display);
}

Display* DisplaySwitch::OpenDisplay() {
  if (m_display) return m_display;
  m_display = XOpenDisplay(nullptr);
  if (!m_display) return nullptr;
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(m_display, &event, &error) ||
      !XRRQueryVersion(m_display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
    XCloseDisplay(m_display);
    m_display = nullptr;
  }
  return m_display;
}

// Puts m_desktop back on m_output. An output that was switched off or
// unplugged meanwhile is left as the user left it; that, and a refused
// restore, are said in one line naming the output.
RestoreOutcome DisplaySwitch::RestoreOn(Display* display) const {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) {
    std::fputs("winterhain: cannot read the display's configuration; its mode is left as it is\n",
               stderr);
    return RestoreOutcome::Refused;
  }
  RestoreOutcome outcome = RestoreOutcome::OutputGone;
  XRROutputInfo* output = XRRGetOutputInfo(display, resources, m_output);
  const std::string name = output ? output->name : "?";
  if (!output || output->connection != RR_Connected || !output->crtc) {
    std::fprintf(stderr, "winterhain: display output %s is off or gone; its mode is left as it is\n",
                 name.c_str());
  } else {
    CrtcConfig config = m_desktop;
    config.crtc = output->crtc;
    std::string failure;
    outcome = ApplyCrtc(display, resources, config, &failure) ? RestoreOutcome::Restored
                                                                : RestoreOutcome::Refused;
    if (outcome == RestoreOutcome::Refused)
      std::fprintf(stderr, "winterhain: cannot restore the mode of display output %s (%s)\n",
                   name.c_str(), failure.c_str());
  }
  if (output) XRRFreeOutputInfo(output);
  XRRFreeScreenResources(resources);
  ForgetDesktopMode(display, m_output);
  return outcome;
}

// Runs in the guard process, which shares none of the program's state but
// this copy of the desktop's configuration: it opens a connection of its own.
RestoreOutcome DisplaySwitch::RestoreFromGuardian() const {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return RestoreOutcome::NoServer;
  const RestoreOutcome outcome = RestoreOn(display);
  RequestsFailed(display);
  XCloseDisplay(display);
  return outcome;
}

bool DisplaySwitch::SwitchOn(Display* display, XRRScreenResources* resources, unsigned width,
                             unsigned height) {
  const RROutput outputId = ChooseOutput(display, resources);
  XRROutputInfo* output = outputId ? XRRGetOutputInfo(display, resources, outputId) : nullptr;
  if (!output) return false;
  CrtcConfig config;
  const RRMode mode = FindMode(resources, output, width, height);
  const bool readable = output->crtc && ReadCrtc(display, resources, output->crtc, config);
  if (mode && readable && m_state == State::Desktop) {
    m_output = outputId;
    m_desktop = config;
    m_desktop.mode = DesktopModeOf(display, output, outputId, config.mode, mode);
    m_state = State::Saved;
    if (m_desktop.mode == config.mode) RecordDesktopMode(display, outputId, config.mode);
    m_guardian.Start([this] { return RestoreFromGuardian(); });
  }
  XRRFreeOutputInfo(output);
  if (!mode || !readable) return false;
  config.mode = mode;
  m_guardian.Tell(true);  // before the switch, so a crash during it is covered
  // Only a switch that reads back the asked-for size counts: the window is
  // made to cover the display on the strength of it.
  const bool switched = ApplyCrtc(display, resources, config) &&
                        CrtcRunsAt(display, resources, config.crtc, width, height);
  m_state = switched ? State::Switched : State::Saved;
  if (switched)
    m_switchedArea = DisplayArea{config.x, config.y, static_cast<int>(width),
                                 static_cast<int>(height)};
  return switched;
}

bool DisplaySwitch::Switch(std::uint32_t width, std::uint32_t height) {
  Display* display = OpenDisplay();
  if (!display) return false;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) return false;
  // Held while the desktop's mode is read, recorded and the switch made, so
  // that two instances starting together cannot both take the other's
  // switched mode for the desktop's.
  XGrabServer(display);
  const bool switched = SwitchOn(display, resources, width, height);
  XUngrabServer(display);
  XSync(display, False);
  XRRFreeScreenResources(resources);
  return switched;
}

void DisplaySwitch::Restore() {
  if (m_state == State::Desktop || !m_display) return;
  RestoreOn(m_display);
  m_guardian.Tell(false);
  m_state = State::Desktop;
}

std::optional<DisplayArea> DisplaySwitch::SwitchedArea() const {
  if (m_state != State::Switched) return std::nullopt;
  return m_switchedArea;
}

}  // namespace platform::x11
