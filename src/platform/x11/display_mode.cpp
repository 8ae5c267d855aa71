#include "platform/x11/display_mode.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/posix/signals.hpp"
#include "platform/x11/randr_desktop.hpp"
#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// Each running instance's switch is recorded on the root window as (output,
// desktop mode, rotation, owner, mark) entries, so that an instance started
// while another has the output switched puts back the desktop's mode, not
// the switched one. The owner is a window of the recording instance's own
// connection, marked with a random number in the same property: it goes
// with the instance, so that the entry of one killed together with its
// guard is known for stale (its window id may be another's by then) and a
// mode the user chose afterwards stays.
constexpr const char* kDesktopModesProperty = "_WINTERHAIN_DESKTOP_MODES";
constexpr std::size_t kEntry = 5;

std::vector<unsigned long> ReadDesktopModes(Display* display, ::Window window) {
  const Atom property = XInternAtom(display, kDesktopModesProperty, False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, rest = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display, window, property, 0, 256, False, XA_CARDINAL, &type, &format,
                         &count, &rest, &data) == Success &&
      type == XA_CARDINAL && format == 32 && data) {
    const auto* read = reinterpret_cast<const unsigned long*>(data);
    values.assign(read, read + count);
  }
  if (data) XFree(data);
  RequestsFailed(display);  // a window that is gone
  return values;
}

void WriteDesktopModes(Display* display, ::Window window, const std::vector<unsigned long>& values) {
  const Atom property = XInternAtom(display, kDesktopModesProperty, False);
  if (values.empty()) {
    XDeleteProperty(display, window, property);
  } else {
    XChangeProperty(display, window, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
  }
  XSync(display, False);
}

// A window of this connection, marked as the owner of this instance's entry.
RecordOwner MakeOwner(Display* display) {
  const RecordOwner owner{XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, 0,
                                        InputOnly, CopyFromParent, 0, nullptr),
                          std::random_device{}()};
  WriteDesktopModes(display, owner.window, {owner.mark});
  return owner;
}

bool OwnerLives(Display* display, unsigned long window, unsigned long mark) {
  return ReadDesktopModes(display, window) == std::vector<unsigned long>{mark};
}

// The entries of instances still running, `output`'s left out.
std::vector<unsigned long> DesktopModesWithout(Display* display, RROutput output) {
  const std::vector<unsigned long> old = ReadDesktopModes(display, DefaultRootWindow(display));
  std::vector<unsigned long> entries;
  for (std::size_t i = 0; i + kEntry <= old.size(); i += kEntry)
    if (old[i] != output && OwnerLives(display, old[i + 3], old[i + 4]))
      entries.insert(entries.end(), old.begin() + i, old.begin() + i + kEntry);
  return entries;
}

// The desktop mode and rotation a running instance recorded for `output`;
// false when there is none.
bool RecordedDesktopMode(Display* display, RROutput output, CrtcPlace& place) {
  const std::vector<unsigned long> entries = ReadDesktopModes(display, DefaultRootWindow(display));
  for (std::size_t i = 0; i + kEntry <= entries.size(); i += kEntry)
    if (entries[i] == output && OwnerLives(display, entries[i + 3], entries[i + 4])) {
      place.mode = static_cast<RandrId>(entries[i + 1]);
      place.rotation = static_cast<std::uint16_t>(entries[i + 2]);
      return true;
    }
  return false;
}

void RecordDesktopMode(Display* display, RROutput output, const CrtcPlace& place,
                       const RecordOwner& owner) {
  std::vector<unsigned long> entries = DesktopModesWithout(display, output);
  entries.insert(entries.end(), {output, place.mode, place.rotation, owner.window, owner.mark});
  WriteDesktopModes(display, DefaultRootWindow(display), entries);
}

void ForgetDesktopMode(Display* display, RROutput output) {
  const std::vector<unsigned long> entries = DesktopModesWithout(display, output);
  if (entries != ReadDesktopModes(display, DefaultRootWindow(display)))
    WriteDesktopModes(display, DefaultRootWindow(display), entries);
}

// True when `output` is connected and shows a picture.
bool InUse(Display* display, XRRScreenResources* resources, RROutput output) {
  XRROutputInfo* info = XRRGetOutputInfo(display, resources, output);
  const bool inUse = info && info->connection == RR_Connected && info->crtc;
  if (info) XRRFreeOutputInfo(info);
  return inUse;
}

// The output the program's window appears on: the primary one when it is
// in use, else the first connected output in use (a laptop's closed lid
// leaves the primary output off).
RROutput ChooseOutput(Display* display, XRRScreenResources* resources) {
  const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
  if (primary && InUse(display, resources, primary)) return primary;
  for (int i = 0; i < resources->noutput; ++i)
    if (InUse(display, resources, resources->outputs[i])) return resources->outputs[i];
  return 0;
}

RRMode FindMode(Display* display, XRRScreenResources* resources, RROutput outputId, unsigned width,
                unsigned height) {
  XRROutputInfo* output = XRRGetOutputInfo(display, resources, outputId);
  RRMode found = 0;
  for (int i = 0; output && i < output->nmode && !found; ++i)
    for (int k = 0; k < resources->nmode; ++k) {
      const XRRModeInfo& mode = resources->modes[k];
      if (mode.id == output->modes[i] && mode.width == width && mode.height == height)
        found = mode.id;
    }
  if (output) XRRFreeOutputInfo(output);
  return found;
}

std::string OutputName(Display* display, XRRScreenResources* resources, RROutput outputId) {
  XRROutputInfo* output = XRRGetOutputInfo(display, resources, outputId);
  const std::string name = output ? output->name : "?";
  if (output) XRRFreeOutputInfo(output);
  return name;
}

bool CrtcRunsAt(Display* display, XRRScreenResources* resources, RRCrtc crtc, unsigned width,
                unsigned height) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
  const bool match = info && info->width == width && info->height == height;
  if (info) XRRFreeCrtcInfo(info);
  return match;
}

// True when an output in use offers the mode (read before the server is
// held and the guard started, both for nothing otherwise).
bool Switchable(Display* display, unsigned width, unsigned height) {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) return false;
  const RROutput output = ChooseOutput(display, resources);
  const bool offered = output && FindMode(display, resources, output, width, height);
  XRRFreeScreenResources(resources);
  return offered;
}

// The desktop as it is before the switch. When the output already runs the
// scene's mode, most likely switched by another instance, its mode is the
// one that instance recorded; else the one it runs now, recorded for the
// instances that come after.
SwitchedDesktop RecordDesktop(Display* display, XRRScreenResources* resources,
                              const DesktopLayout& now, RROutput output, RRMode sceneMode,
                              const RecordOwner& owner) {
  SwitchedDesktop desktop{now, static_cast<RandrId>(output)};
  CrtcPlace* place = desktop.before.Driving(desktop.output);
  if (!place) return desktop;  // more CRTCs than a layout holds: nothing to give back
  if (place->mode == sceneMode && RecordedDesktopMode(display, output, *place))
    ModeExtent(resources, place->mode, place->rotation, place->width, place->height);
  else
    RecordDesktopMode(display, output, *place, owner);
  return desktop;
}

// Sets `mode` on `crtc`, unrotated and unreflected so that the scene shows
// whole and upright (the restore gives the rotation back), leaving its place
// and outputs as they are.
bool SetMode(Display* display, XRRScreenResources* resources, const CrtcPlace& crtc, RRMode mode) {
  CrtcPlace switched = crtc;
  switched.mode = mode;
  switched.rotation = RR_Rotate_0;
  const bool accepted = SetCrtc(display, resources, switched);
  return !RequestsFailed(display) && accepted;
}

// The server held, so that every other client sees one change. No stop is
// taken meanwhile (a program stopped while it holds the server stops every
// client of it), and nothing may be written to the terminal: a write from
// the background would stop it.
class ServerHold {
 public:
  explicit ServerHold(Display* display) : m_display(display) { XGrabServer(display); }
  ~ServerHold() {
    XUngrabServer(m_display);
    XFlush(m_display);
  }
  ServerHold(const ServerHold&) = delete;
  ServerHold& operator=(const ServerHold&) = delete;

 private:
  posix::StopsDeferred m_stops;  // made before the grab, gone after it
  Display* m_display;
};

// Gives back what the switch changed, as one change to every other client:
// the server is held from reading the layout to the last CRTC set. An output
// switched off or unplugged meanwhile is left as the user left it; that, and
// a refused change, are said in one line naming the output.
RestoreOutcome GiveBack(Display* display, const SwitchedDesktop& desktop) {
  RestorePlan plan;
  std::string failure;
  bool taken = false;
  XRRScreenResources* resources = nullptr;
  {
    const ServerHold hold(display);
    resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    const DesktopLayout now = resources ? ReadDesktopLayout(display, resources) : DesktopLayout{};
    plan = PlanRestore(desktop.before, now, desktop.output);
    if (!plan.fits)
      failure = "it needs a " + std::to_string(plan.screen.width) + "x" +
                std::to_string(plan.screen.height) + " screen; the X server allows at most " +
                std::to_string(now.maximum.width) + "x" + std::to_string(now.maximum.height);
    taken = resources && (plan.outputGone ||
                          (plan.fits && ApplyRestorePlan(display, resources, now, plan, &failure)));
  }
  if (!resources) {
    std::fputs("winterhain: cannot read the display's configuration; its mode is left as it is\n",
               stderr);
    return RestoreOutcome::Refused;
  }
  const std::string name = OutputName(display, resources, desktop.output);
  XRRFreeScreenResources(resources);
  ForgetDesktopMode(display, desktop.output);
  if (plan.outputGone) {
    std::fprintf(stderr, "winterhain: display output %s is off or gone; its mode is left as it is\n",
                 name.c_str());
    return RestoreOutcome::OutputGone;
  }
  if (!taken) {
    std::fprintf(stderr,
                 "winterhain: cannot restore the mode of display output %s (%s); the desktop is "
                 "left as it is\n",
                 name.c_str(), failure.c_str());
    return RestoreOutcome::Refused;
  }
  return RestoreOutcome::Restored;
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
  } else {
    WatchScreen(m_display);
    m_owner = MakeOwner(m_display);
  }
  return m_display;
}

// Once, before the first switch and outside the server grab (the guard
// opens its connection meanwhile). Without a guard the reason is kept, to
// be said should a switch be made.
void DisplaySwitch::StartGuard() {
  if (m_guardTried) return;
  m_guardTried = true;
  std::string why;
  if (!m_guardian.Start(why)) m_noGuard = why;
}

// A guard killed is replaced, handed what it guarded; where none can be
// started, that is said while a switch is in effect, or at the next one.
void DisplaySwitch::KeepGuarded() {
  if (!m_guardian.Gone()) return;
  std::string why;
  const bool switched = m_state != State::Desktop;
  if (m_guardian.Start(why, switched ? &m_desktop : nullptr)) return;
  if (!switched) {
    m_noGuard = why;
    return;
  }
  std::fprintf(stderr,
               "winterhain: the display guard has ended and no new one starts (%s); should the "
               "program crash, the display stays at %ux%u\n",
               why.c_str(), m_width, m_height);
}

bool DisplaySwitch::SwitchOn(Display* display, XRRScreenResources* resources) {
  const RROutput output = ChooseOutput(display, resources);
  const RRMode mode = output ? FindMode(display, resources, output, m_width, m_height) : 0;
  if (!mode) return false;
  const DesktopLayout now = ReadDesktopLayout(display, resources);
  if (m_state == State::Desktop) {
    m_desktop = RecordDesktop(display, resources, now, output, mode, m_owner);
    m_state = State::Saved;
  }
  m_guardian.TellSwitched(m_desktop);  // before the switch, so a crash during it is covered
  const CrtcPlace* crtc = now.Driving(static_cast<RandrId>(output));
  // Only a switch that reads back the asked-for size counts: the window is
  // made to cover the display on the strength of it.
  const bool switched = crtc && SetMode(display, resources, *crtc, mode) &&
                        CrtcRunsAt(display, resources, crtc->crtc, m_width, m_height);
  if (switched)
    m_switchedArea = DisplayArea{crtc->x, crtc->y, static_cast<int>(m_width),
                                 static_cast<int>(m_height)};
  m_state = switched ? State::Switched : State::Saved;
  return switched;
}

bool DisplaySwitch::Switch(std::uint32_t width, std::uint32_t height) {
  Display* display = OpenDisplay();
  if (!display) return false;
  m_width = width;
  m_height = height;
  if (!Switchable(display, width, height)) return false;
  StartGuard();
  // Held while the desktop is read, recorded and the switch made, so that
  // two instances starting together cannot both take the other's switched
  // mode for the desktop's.
  XRRScreenResources* resources = nullptr;
  bool switched = false;
  {
    const ServerHold hold(display);
    resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    switched = resources && SwitchOn(display, resources);
  }
  XSync(display, False);
  if (resources) XRRFreeScreenResources(resources);
  if (!m_noGuard.empty() && m_state != State::Desktop) {
    std::fprintf(stderr,
                 "winterhain: cannot start the display guard (%s); should the program crash, "
                 "the display stays at %ux%u\n",
                 m_noGuard.c_str(), m_width, m_height);
    m_noGuard.clear();
  }
  return switched;
}

void DisplaySwitch::Restore() {
  m_holds = 0;
  m_heldSwitched = false;
  if (m_state == State::Desktop || !m_display) return;
  GiveBack(m_display, m_desktop);
  m_guardian.TellRestored();
  m_state = State::Desktop;
}

void DisplaySwitch::Hold() {
  if (m_holds == 0 && m_state != State::Switched) return;
  if (m_holds++ > 0) return;
  Restore();
  m_holds = 1;
  m_heldSwitched = true;
}

bool DisplaySwitch::Resume() {
  if (m_holds == 0 || --m_holds > 0 || !m_heldSwitched) return false;
  m_heldSwitched = false;
  return Switch(m_width, m_height);
}

std::optional<DisplayArea> DisplaySwitch::SwitchedArea() const {
  if (m_state != State::Switched) return std::nullopt;
  return m_switchedArea;
}

}  // namespace platform::x11

namespace platform {

bool RanAsDisplayGuard(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], x11::kGuardFlag) != 0) return false;
  x11::RunGuard(argv[2], &x11::GiveBack);
  return true;
}

}  // namespace platform
