#include "platform/x11/display_mode.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <string>
#include <utility>
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
Atom RecordName(Display* display, RROutput output) {
  return XInternAtom(display, ("_WINTERHAIN_DESKTOP_MODE_" + std::to_string(output)).c_str(), False);
}

bool ReadRecord(Display* display, RROutput output, CrtcPlace& place) {
  const Atom name = RecordName(display, output);
  const ::Window owner = XGetSelectionOwner(display, name);
  const std::vector<unsigned long> record =
      owner ? ReadProperty(display, owner, name, XA_CARDINAL, 2) : std::vector<unsigned long>{};
  RequestsFailed(display);  // an owner gone meanwhile
  if (record.size() != 2) return false;
  place.mode = static_cast<RandrId>(record[0]);
  place.rotation = static_cast<std::uint16_t>(record[1]);
  return true;
}

void WriteRecord(Display* display, RROutput output, const CrtcPlace& place, ::Window owner) {
  const Atom name = RecordName(display, output);
  const unsigned long values[] = {place.mode, place.rotation};
  XChangeProperty(display, owner, name, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values), 2);
  XSetSelectionOwner(display, name, owner, CurrentTime);
}

void DropRecord(Display* display, RROutput output, ::Window owner) {
  const Atom name = RecordName(display, output);
  if (XGetSelectionOwner(display, name) == owner) XSetSelectionOwner(display, name, None, CurrentTime);
}

bool InUse(Display* display, XRRScreenResources* resources, RROutput output) {
  const OutputInfo info = ReadOutput(display, resources, output);
  return info && info->connection == RR_Connected && info->crtc;
}

// The primary output may be off: a laptop's closed lid.
RROutput ChooseOutput(Display* display, XRRScreenResources* resources) {
  const RROutput primary = XRRGetOutputPrimary(display, DefaultRootWindow(display));
  if (InUse(display, resources, primary)) return primary;
  for (int i = 0; i < resources->noutput; ++i)
    if (InUse(display, resources, resources->outputs[i])) return resources->outputs[i];
  return 0;
}

RRMode FindMode(Display* display, XRRScreenResources* resources, RROutput output, unsigned width,
                unsigned height) {
  const OutputInfo info = ReadOutput(display, resources, output);
  for (int i = 0; info && i < info->nmode; ++i)
    for (int k = 0; k < resources->nmode; ++k) {
      const XRRModeInfo& mode = resources->modes[k];
      if (mode.id == info->modes[i] && mode.width == width && mode.height == height) return mode.id;
    }
  return 0;
}

// Read before the server is held and the guard started, both for nothing
// when no output in use offers the mode.
bool Switchable(Display* display, unsigned width, unsigned height) {
  const Resources resources = CurrentResources(display);
  return resources && FindMode(display, resources.get(), ChooseOutput(display, resources.get()),
                               width, height);
}

// When the output already runs the scene's mode, most likely switched by
// another instance, the desktop's mode is the one that instance recorded,
// and the windows are that instance's to put back; else the mode is the one
// of now, recorded for the instances that come after, with the windows.
SwitchedDesktop RecordDesktop(Display* display, XRRScreenResources* resources,
                              const DesktopLayout& now, RROutput output, RRMode sceneMode,
                              ::Window owner) {
  SwitchedDesktop desktop{now, static_cast<RandrId>(output), now.screen, {}};
  CrtcPlace* place = desktop.before.Driving(desktop.output);
  if (!place) return desktop;  // more CRTCs than a layout holds: nothing to give back
  if (place->mode == sceneMode && ReadRecord(display, output, *place)) {
    ModeExtent(resources, place->mode, place->rotation, place->width, place->height);
  } else {
    WriteRecord(display, output, *place, owner);
    desktop.windows = ReadWindowPlaces(display);
  }
  return desktop;
}

// Unrotated and unreflected, so that the scene shows whole and upright (the
// restore gives the rotation back); the CRTC's place and outputs stay.
bool SetMode(Display* display, XRRScreenResources* resources, CrtcPlace crtc, RRMode mode) {
  crtc.mode = mode;
  crtc.rotation = RR_Rotate_0;
  return SetCrtc(display, resources, crtc);
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

bool Say(const std::string& line) {
  std::fprintf(stderr, "winterhain: %s\n", line.c_str());
  return false;
}

// Gives back what the switch changed, held from reading the layout to the
// last CRTC set. An output switched off or unplugged meanwhile is left as
// the user left it; that, and a refused change, are said naming the output.
bool GiveBack(Display* display, const SwitchedDesktop& desktop) {
  RestorePlan plan;
  std::string failure;
  bool taken = false;
  Resources resources;
  {
    const ServerHold hold(display);
    resources = CurrentResources(display);
    const DesktopLayout now = resources ? ReadDesktopLayout(display, resources.get()) : DesktopLayout{};
    plan = PlanRestore(desktop.before, now, desktop.output, desktop.screen);
    taken = resources && !plan.outputGone &&
            ApplyRestorePlan(display, resources.get(), now, plan, failure);
  }
  if (!resources) return Say("cannot read the display's configuration; its mode is left as it is");
  const OutputInfo output = ReadOutput(display, resources.get(), desktop.output);
  const std::string name = "display output " + std::string(output ? output->name : "?");
  if (plan.outputGone) return Say(name + " is off or gone; its mode is left as it is");
  if (!taken)
    return Say("cannot restore the mode of " + name + " (" + failure + "); the desktop is left as it is");
  MoveWindows(display, PlanWindowMoves(desktop.windows, ReadWindowPlaces(display)));
  XSync(display, False);
  return true;
}
}  // namespace

DisplaySwitch::~DisplaySwitch() {
  Restore();
  if (!m_display) return;
  XDestroyWindow(m_display, m_owner);
  RequestsFailed(m_display);  // claims its last failure, if any
}

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

// Once; without a guard the reason is kept, to be said at a switch.
void DisplaySwitch::PrepareGuard() {
  if (!std::exchange(m_guardTried, true)) m_guardian.Spawn(m_noGuard);
}

// A guard killed is replaced, handed what it guarded.
void DisplaySwitch::KeepGuarded() {
  if (!m_guardian.Gone()) return;
  if (m_guardian.Spawn(m_noGuard, m_desktop ? &*m_desktop : nullptr)) m_guardian.AwaitReady(m_noGuard);
  SayUnguarded();
}

// Once a switch is recorded, the reason there is no guard, once.
void DisplaySwitch::SayUnguarded() {
  if (m_noGuard.empty() || !m_desktop) return;
  Say("cannot start the display guard (" + m_noGuard + "); should the program crash, the display "
      "stays at " + std::to_string(m_width) + "x" + std::to_string(m_height));
  m_noGuard.clear();
}

bool DisplaySwitch::SwitchOn(Display* display, XRRScreenResources* resources) {
  const RROutput output = ChooseOutput(display, resources);
  const RRMode mode = FindMode(display, resources, output, m_width, m_height);
  if (!mode) return false;
  const DesktopLayout now = ReadDesktopLayout(display, resources);
  if (!m_desktop) m_desktop = RecordDesktop(display, resources, now, output, mode, m_owner);
  m_desktop->screen = ScreenForSwitch(now, static_cast<RandrId>(output), static_cast<int>(m_width),
                                      static_cast<int>(m_height));
  m_guardian.Tell(&*m_desktop);  // before the switch, so a crash during it is covered
  m_switched.reset();
  // Only a switch that reads back the asked-for size counts: the window is
  // made to cover the display on the strength of it.
  const CrtcPlace* crtc = now.Driving(static_cast<RandrId>(output));
  if (!crtc || !SetMode(display, resources, *crtc, mode)) return false;
  const CrtcInfo set = ReadCrtc(display, resources, crtc->crtc);
  if (!set || set->width != m_width || set->height != m_height) return false;
  if (m_desktop->screen != now.screen) {  // a refusal leaves the scene in a corner, still switched
    SetScreenSize(display, m_desktop->screen);
    RequestsFailed(display);
  }
  m_switched = DisplayArea{crtc->x, crtc->y, static_cast<int>(m_width), static_cast<int>(m_height)};
  return true;
}

bool DisplaySwitch::Switch(std::uint32_t width, std::uint32_t height) {
  if (!m_display) return false;
  m_width = width;
  m_height = height;
  if (!Switchable(m_display, width, height)) return false;
  PrepareGuard();
  m_guardian.AwaitReady(m_noGuard);  // outside the grab: the guard connects meanwhile
  // Held while the desktop is read, recorded and the switch made, so that
  // two instances starting together cannot both take the other's switched
  // mode for the desktop's.
  bool switched = false;
  {
    const ServerHold hold(m_display);
    const Resources resources = CurrentResources(m_display);
    switched = resources && SwitchOn(m_display, resources.get());
  }
  XSync(m_display, False);
  SayUnguarded();  // after the grab: a write may stop the program
  return switched;
}

void DisplaySwitch::Restore() {
  m_holds = 0;
  if (!m_desktop) return;
  GiveBack(m_display, *m_desktop);
  DropRecord(m_display, m_desktop->output, m_owner);
  m_guardian.Tell(nullptr);
  m_desktop.reset();
  m_switched.reset();
}

void DisplaySwitch::Hold() {
  if ((m_holds == 0 && !m_switched) || m_holds++ > 0) return;
  Restore();
  m_holds = 1;
}

bool DisplaySwitch::Resume() {
  if (m_holds == 0 || --m_holds > 0) return false;
  return Switch(m_width, m_height);
}

void RunDisplayGuard() { RunGuard(&GiveBack); }

}  // namespace platform::x11
