#include "platform/sdl/video.hpp"

#include <SDL.h>

#include "platform/posix/session_bus.hpp"
#include "platform/sdl/audio_drivers.hpp"
#include "platform/sdl/desktop_policy.hpp"
#include "platform/sdl/quirks.hpp"
#include "platform/wayland/seat_probe.hpp"
#include "platform/wayland/sway_focus.hpp"

namespace platform {
namespace {
// "" where SDL's x11 or wayland driver can reach a display, else why not:
// told before SDL tries, whose wayland driver, without a runtime folder,
// has libwayland print "error: XDG_RUNTIME_DIR is invalid or not set".
std::string WhyNoDisplayReachable(const Host& host) {
  if (host.x || (host.wayland != Compositor::Absent && host.wayland != Compositor::NotAsked))
    return "";
  const std::string x = Env("DISPLAY"), wayland = Env("WAYLAND_DISPLAY");
  const std::string xPart = "the X server " + x + " (DISPLAY)";
  const std::string waylandPart = "the Wayland compositor " + wayland + " (WAYLAND_DISPLAY)";
  if (!x.empty() && !wayland.empty()) return "cannot reach " + xPart + " nor " + waylandPart;
  if (!x.empty()) return "cannot reach " + xPart;
  if (!wayland.empty()) return "cannot reach " + waylandPart;
  return "no display to show the scene on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

// Why a driver that started cannot show the scene, or "" when it can.
// SDL falls back to drivers that show nothing when there is no display;
// tools that render off screen ask for them by name, a program shown only
// on screen never takes them.
std::string Refusal(const std::string& driver, const std::string& asked, bool onScreenOnly) {
  if (driver != "offscreen" && driver != "dummy") return "";
  if (!NamesDriver(asked, driver))
    return "no display to show the scene on (is DISPLAY or WAYLAND_DISPLAY set?)";
  if (onScreenOnly)
    return "SDL_VIDEODRIVER=" + driver +
           " shows nothing on screen; unset it to show the scene on the desktop";
  return "";
}

// The host in one pass: the X server, on the program's own connection,
// unless another driver is asked for by name; the Wayland compositor and
// where its focus is, where SDL may take it: when asked to, or when nothing
// is asked for and no X server answers or the one that does is Xwayland.
Host FindHost(const std::string& asked, x11::Server& x) {
  Host host;
  host.x = (asked.empty() || NamesDriver(asked, "x11")) && x.Open();
  host.xRandr = host.x && x.HasRandr();
  host.xwayland = host.x && x.IsXwayland();
  host.xFirstScreen = x.OnFirstScreen();
  if (asked.empty() ? !host.x || host.xwayland : NamesDriver(asked, "wayland")) {
    host.wayland = wayland::ProbeCompositor(host.waylandScaled);
    host.knowsFocus = wayland::FindSwayFocus(host.focusX, host.focusY);
  }
  return host;
}

// The name SDL gives its caller (the session bus's screen-saver inhibit,
// the sound server's client). Unless allowed to blank, SDL inhibits the
// screen saver when its video starts, then tells the session and the X
// server every 30 s that the user is active: a screensaver, which is what
// blanks the screen, never does.
void NameSessionCalls(Role role) {
  SDL_SetHint(SDL_HINT_APP_NAME, "Winterhain");
  SDL_SetHint(SDL_HINT_SCREENSAVER_INHIBIT_ACTIVITY_NAME, "Showing a fullscreen animation");
  const bool keepsScreenAwake = role == Role::Program || role == Role::Tool;
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, keepsScreenAwake ? "0" : "1");
}

// What SDL should know before it looks for a display, and whether there is
// one to find; false, with `error` filled in, when there is none.
bool PrepareForDisplay(const std::string& asked, const Host& host, Role role, std::string& error) {
  // SDL asks for RandR's version without looking whether the server has the
  // extension (Xlib then prints that it is missing). SDL 2.26 lists RandR's
  // displays from screen 0 on, and opens windows and picks GL visuals on the
  // first display: on another screen of a multi-screen server (DISPLAY=:0.1)
  // it is kept to that one screen.
  if ((host.x && !host.xRandr) || !host.xFirstScreen) SDL_SetHint(SDL_HINT_VIDEO_X11_XRANDR, "0");
  // The window is fullscreen and borderless: it needs no decorations, and
  // libdecor, where SDL would take them from on a compositor that draws
  // none (GNOME's), prints lines about its plugins.
  SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_ALLOW_LIBDECOR, "0");
  if (!asked.empty()) return true;
  error = WhyNoDisplayReachable(host);
  if (!error.empty()) return false;
  // Wayland is reachable and X is not: an X server that refuses us makes
  // libxcb print the server's reason in SDL's own attempt, before SDL
  // falls back to Wayland; it goes there straight away.
  if (!host.x) SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
  // Through Xwayland the picture would be scaled up (Quirks::xwaylandScaledUp).
  if (host.x && DecidePolicy(host, role).prefersNativeWayland)
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland,x11");
  return true;
}
}  // namespace

SdlVideo::~SdlVideo() { SDL_Quit(); }

bool SdlVideo::Start(bool onScreenOnly, Role role, x11::Server& xServer, Host& host,
                     std::string& error, const std::function<void(const Host&)>& hostFound) {
  // Termination signals are handled by our own event layer, so that they
  // close the window the same way Escape does.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A message box taking the focus must not minimise the scene.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  NameSessionCalls(role);
  const std::string asked = Env("SDL_VIDEODRIVER");
  host = FindHost(asked, xServer);
  if (!PrepareForDisplay(asked, host, role, error)) return false;
  hostFound(host);
  // Kept to X11 (Xwayland, where the compositor has one) instead.
  const bool seatless = Quirks{}.sdlWaylandNeedsSeat && host.wayland == Compositor::Seatless;
  if (seatless) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
  if (!posix::StartWithoutBusLaunch([] { return SDL_Init(SDL_INIT_VIDEO) == 0; })) {
    error = seatless ? "the Wayland compositor offers no keyboard or pointer (no seat), and "
                       "there is no X display to show the scene on instead"
                     : std::string("no display to show the scene on (") + SDL_GetError() + ")";
    return false;
  }
  error = Refusal(SDL_GetCurrentVideoDriver(), asked, onScreenOnly);
  if (!error.empty()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  host.videoDriver = SDL_GetCurrentVideoDriver();
  m_up = true;
  return true;
}

}  // namespace platform
