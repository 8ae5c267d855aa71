#include "platform/x11/server.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

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
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) return false;
  bool found = false;
  for (int i = 0; i < resources->noutput && !found; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    found = info && std::strncmp(info->name, "XWAYLAND", 8) == 0;
    if (info) XRRFreeOutputInfo(info);
  }
  XRRFreeScreenResources(resources);
  return found;
}
}  // namespace

Server::~Server() {
  if (m_display) XCloseDisplay(m_display);
}

bool Server::Open() {
  if (!m_display) m_display = ConnectQuietly();
  return m_display != nullptr;
}

bool Server::HasRandr() const { return HasExtension(m_display, "RANDR"); }

bool Server::OnFirstScreen() const { return !m_display || DefaultScreen(m_display) == 0; }

bool Server::IsXwayland() const {
  return HasExtension(m_display, "XWAYLAND") || (HasRandr() && HasXwaylandOutput(m_display));
}

}  // namespace platform::x11
