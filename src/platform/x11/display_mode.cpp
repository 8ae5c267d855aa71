#include "platform/x11/display_mode.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/signals.hpp"
#include "platform/x11/desktop_windows.hpp"
#include "platform/x11/randr_desktop.hpp"
#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// Each running instance's switch is recorded for the instances started
// while it is in effect, so that they put back the desktop's mode, not the
// switched one: a window of the instance's own connection holds the mode and
// rotation and owns a selection named after the output. The server drops
// the owner with the connection, so the record of a run killed together
// with its guard goes with it, and a mode the user chose afterwards stays.
Atom RecordSelection(Display* display, RROutput output) {
  const std::string name = "_WINTERHAIN_DESKTOP_MODE_" + std::to_string(output);
  return XInternAtom(display, name.c_str(), False);
}

// The desktop mode and rotation a running instance recorded for `output`;
// false when there is none.
bool RecordedDesktopMode(Display* display, RROutput output, CrtcPlace& place) {
  const Atom selection = RecordSelection(display, output);
  const ::Window owner = XGetSelectionOwner(display, selection);
  const std::vector<unsigned long> record =
      owner ? ReadProperty(display, owner, selection, XA_CARDINAL, 2) : std::vector<unsigned long>{};
  RequestsFailed(display);  // an owner gone meanwhile
  if (record.size() != 2) return false;
  place.mode = static_cast<RandrId>(record[0]);
  place.rotation = static_cast<std::uint16_t>(record[1]);
  return true;
}

void RecordDesktopMode(Display* display, RROutput output, const CrtcPlace& place, ::Window owner) {
  const Atom selection = RecordSelection(display, output);
  const unsigned long values[] = {place.mode, place.rotation};
  XChangeProperty(display, owner, selection, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values), 2);
  XSetSelectionOwner(display, selection, owner, CurrentTime);
}

void ForgetDesktopMode(Display* display, RROutput output, ::Window owner) {
  const Atom selection = RecordSelection(display, output);
  if (XGetSelectionOwner(display, selection) == owner)
    XSetSelectionOwner(display, selection, None, CurrentTime);
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
// one that instance recorded, and the windows are that instance's to put
// back; else the mode is the one it runs now, recorded for the instances
// that come after, and the windows' places are recorded.
SwitchedDesktop RecordDesktop(Display* display, XRRScreenResources* resources,
                              const DesktopLayout& now, RROutput output, RRMode sceneMode,
                              ::Window owner) {
  SwitchedDesktop desktop{now, static_cast<RandrId>(output), now.screen, {}};
  CrtcPlace* place = desktop.before.Driving(desktop.output);
  if (!place) return desktop;  // more CRTCs than a layout holds: nothing to give back
  if (place->mode == sceneMode && RecordedDesktopMode(display, output, *place)) {
    ModeExtent(resources, place->mode, place->rotation, place->width, place->height);
  } else {
    RecordDesktopMode(display, output, *place, owner);
    desktop.windows = ReadWindowPlaces(display);
  }
  return desktop;
}

// The screen resized with the mode, where the switch planned that. A
// refusal leaves the scene in a corner of the screen, still switched.
void ResizeScreen(Display* display, const ScreenSize& now, const ScreenSize& planned) {
  if (planned == now) return;
  SetScreenSize(display, planned);
  RequestsFailed(display);
}

// The windows the window manager moved into the smaller screen, back where
// they stood before the switch.
void PutBackWindows(Display* display, const WindowPlaces& recorded) {
  MoveWindows(display, PlanWindowMoves(recorded, ReadWindowPlaces(display)));
  XSync(display, False);
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

 private:
  posix::StopsDeferred m_stops;  // made before the grab, gone after it
  Display* m_display;
};

// Gives back what the switch changed, as one change to every other client:
// the server is held from reading the layout to the last CRTC set. An output
// switched off or unplugged meanwhile is left as the user left it; that, and
// a refused change, are said in one line naming the output.
bool GiveBack(Display* display, const SwitchedDesktop& desktop) {
  RestorePlan plan;
  std::string failure;
  bool taken = false;
  XRRScreenResources* resources = nullptr;
  {
    const ServerHold hold(display);
    resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    const DesktopLayout now = resources ? ReadDesktopLayout(display, resources) : DesktopLayout{};
    plan = PlanRestore(desktop.before, now, desktop.output, desktop.screen);
    taken = resources && (plan.outputGone || ApplyRestorePlan(display, resources, now, plan, &failure));
  }
  if (!resources) {
    std::fputs("winterhain: cannot read the display's configuration; its mode is left as it is\n",
               stderr);
    return false;
  }
  const std::string name = OutputName(display, resources, desktop.output);
  XRRFreeScreenResources(resources);
  if (plan.outputGone) {
    std::fprintf(stderr, "winterhain: display output %s is off or gone; its mode is left as it is\n",
                 name.c_str());
    return false;
  }
  if (!taken) {
    std::fprintf(stderr,
                 "winterhain: cannot restore the mode of display output %s (%s); the desktop is "
                 "left as it is\n",
                 name.c_str(), failure.c_str());
    return false;
  }
  PutBackWindows(display, desktop.windows);
  return true;
}
}  // namespace

DisplaySwitch::~DisplaySwitch() {
  Restore();
  if (!m_display) return;
  if (m_owner) XDestroyWindow(m_display, m_owner);
  XSync(m_display, False);
  RequestsFailed(m_display);  // claims its last failure, if any
}

// Kept where it takes RandR 1.2, with the window that holds this
// instance's record.
void DisplaySwitch::Use(Display* connection) {
  int event = 0, error = 0, major = 0, minor = 0;
  if (m_display || !connection || !XRRQueryExtension(connection, &event, &error) ||
      !XRRQueryVersion(connection, &major, &minor) || major < 1 || (major == 1 && minor < 2))
    return;
  m_display = connection;
  WatchScreen(m_display);
  m_owner = XCreateWindow(m_display, DefaultRootWindow(m_display), -1, -1, 1, 1, 0, 0, InputOnly,
                          CopyFromParent, 0, nullptr);
}

// Once, early or at the first switch. Without a guard the reason is kept,
// to be said should a switch be made.
void DisplaySwitch::PrepareGuard() {
  if (m_guardTried) return;
  m_guardTried = true;
  std::string why;
  if (!m_guardian.Spawn(why)) m_noGuard = why;
}

// Before the first switch and outside the server grab (the guard opens its
// connection meanwhile).
void DisplaySwitch::StartGuard() {
  PrepareGuard();
  std::string why;
  if (!m_guardian.AwaitReady(why) && m_noGuard.empty()) m_noGuard = why;
}

// A guard killed is replaced, handed what it guarded; where none can be
// started, that is said while a switch is in effect, or at the next one.
void DisplaySwitch::KeepGuarded() {
  if (!m_guardian.Gone()) return;
  if (m_guardian.Spawn(m_noGuard, m_state != State::Desktop ? &m_desktop : nullptr))
    m_guardian.AwaitReady(m_noGuard);
  SayUnguarded();
}

// Once a switch is recorded, the reason there is no guard, once.
void DisplaySwitch::SayUnguarded() {
  if (m_noGuard.empty() || m_state == State::Desktop) return;
  std::fprintf(stderr,
               "winterhain: cannot start the display guard (%s); should the program crash, the "
               "display stays at %ux%u\n",
               m_noGuard.c_str(), m_width, m_height);
  m_noGuard.clear();
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
  m_desktop.screen = ScreenForSwitch(now, static_cast<RandrId>(output), static_cast<int>(m_width),
                                     static_cast<int>(m_height));
  m_guardian.TellSwitched(m_desktop);  // before the switch, so a crash during it is covered
  const CrtcPlace* crtc = now.Driving(static_cast<RandrId>(output));
  // Only a switch that reads back the asked-for size counts: the window is
  // made to cover the display on the strength of it.
  const bool switched = crtc && SetMode(display, resources, *crtc, mode) &&
                        CrtcRunsAt(display, resources, crtc->crtc, m_width, m_height);
  if (switched) {
    ResizeScreen(display, now.screen, m_desktop.screen);
    m_switchedArea = DisplayArea{crtc->x, crtc->y, static_cast<int>(m_width),
                                 static_cast<int>(m_height)};
  }
  m_state = switched ? State::Switched : State::Saved;
  return switched;
}

bool DisplaySwitch::Switch(std::uint32_t width, std::uint32_t height) {
  Display* display = m_display;
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
  SayUnguarded();  // after the grab: a write may stop the program
  return switched;
}

void DisplaySwitch::Restore() {
  m_holds = 0;
  if (m_state == State::Desktop || !m_display) return;
  GiveBack(m_display, m_desktop);
  ForgetDesktopMode(m_display, m_desktop.output, m_owner);
  m_guardian.TellRestored();
  m_state = State::Desktop;
}

void DisplaySwitch::Hold() {
  if (m_holds == 0 && m_state != State::Switched) return;
  if (m_holds++ > 0) return;
  Restore();
  m_holds = 1;
}

bool DisplaySwitch::Resume() {
  if (m_holds == 0 || --m_holds > 0) return false;
  return Switch(m_width, m_height);
}

std::optional<DisplayArea> DisplaySwitch::SwitchedArea() const {
  if (m_state != State::Switched) return std::nullopt;
  return m_switchedArea;
}

void RunGuardIfAsked(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], kGuardFlag) == 0) RunGuard(&GiveBack);
}

}  // namespace platform::x11
