#include "platform/x11/server.hpp"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/x11/randr_desktop.hpp"
#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// libxcb (under Xlib) writes the reason a server refuses a connection, its
// access control, straight to descriptor 2: for the program that is an
// answer, not a line for the user. Video starts before the program has
// another thread that could write there meanwhile.
Display* ConnectQuietly() {
  const int saved = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
  Display* display = XOpenDisplay(nullptr);
  if (saved >= 0 && null >= 0) dup2(saved, STDERR_FILENO);
  if (saved >= 0) close(saved);
  if (null >= 0) close(null);
  return display;
}

bool HasExtension(Display* display, const char* name) {
  int opcode = 0, event = 0, error = 0;
  return display && XQueryExtension(display, name, &opcode, &event, &error);
}

bool HasXwaylandOutput(Display* display) {
  const Resources resources = CurrentResources(display);
  for (int i = 0; resources && i < resources->noutput; ++i)
    if (const OutputInfo info = ReadOutput(display, resources.get(), resources->outputs[i]);
        info && std::strncmp(info->name, "XWAYLAND", 8) == 0)
      return true;
  return false;
}

// "host:display.screen" with the screen replaced (or added).
std::string OnScreen(const std::string& name, int screen) {
  const std::size_t colon = name.rfind(':');
  const std::size_t dot = name.find('.', colon == std::string::npos ? 0 : colon);
  return name.substr(0, dot) + "." + std::to_string(screen);
}

// The screen number of `window`, or -1 where there is no such window.
int ScreenOf(Display* display, unsigned long window) {
  XWindowAttributes attributes;
  const Status read = XGetWindowAttributes(display, window, &attributes);
  if (RequestsFailed(display) || !read) return -1;
  return XScreenNumberOfScreen(attributes.screen);
}
}  // namespace

Server::~Server() {
  if (m_display) XCloseDisplay(m_display);
}

bool Server::Open() {
  if (m_display) return true;
  m_display = ConnectQuietly();
  if (m_display) m_screen = DefaultScreen(m_display);
  return m_display != nullptr;
}

void Server::AimAtScreenOf(unsigned long window) {
  if (!Open()) return;
  const int screen = ScreenOf(m_display, window);
  if (screen < 0 || screen == m_screen) return;
  setenv("DISPLAY", OnScreen(DisplayString(m_display), screen).c_str(), 1);
  m_screen = screen;
}

bool Server::HasRandr() const { return HasExtension(m_display, "RANDR"); }

bool Server::OnFirstScreen() const { return !m_display || m_screen == 0; }

bool Server::IsXwayland() const {
  return HasExtension(m_display, "XWAYLAND") || (HasRandr() && HasXwaylandOutput(m_display));
}

}  // namespace platform::x11
