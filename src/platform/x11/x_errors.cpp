#include "platform/x11/x_errors.hpp"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <set>

namespace platform {
namespace {
using ErrorHandler = int (*)(Display*, XErrorEvent*);

// What Xlib's handlers, which take no context, need to reach.
struct XErrorState {
  ErrorHandler previous = nullptr;  // put back when the trap goes
  std::set<Display*> failed;        // the connections with unclaimed failures
  pid_t program = 0;                // the one process that reports a lost connection
};
XErrorState g_xErrors;

int NoteError(Display* display, XErrorEvent*) {
  g_xErrors.failed.insert(display);
  return 0;
}

// Xlib ends the program itself should this return; no other call on the
// lost connection may run, so the end is immediate. A box's child process
// that loses its own connection leaves the saying to the program.
int OnLostDisplayConnection(Display*) {
  if (getpid() == g_xErrors.program)
    std::fputs("winterhain: lost the connection to the X server\n", stderr);
  _exit(1);
}
}  // namespace

namespace x11 {

void EndOnLostDisplayConnection() {
  g_xErrors.program = getpid();
  XSetIOErrorHandler(OnLostDisplayConnection);
}

void ErrorTrap::Install() {
  if (m_installed) return;
  g_xErrors.previous = XSetErrorHandler(NoteError);
  m_installed = true;
}

ErrorTrap::~ErrorTrap() {
  if (!m_installed) return;
  XSetErrorHandler(g_xErrors.previous);
  g_xErrors.previous = nullptr;
  g_xErrors.failed.clear();
}

bool RequestsFailed(Display* display) {
  XSync(display, False);
  return g_xErrors.failed.erase(display) > 0;
}

}  // namespace x11
}  // namespace platform
