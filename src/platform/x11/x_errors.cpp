#include "platform/x11/x_errors.hpp"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <map>

namespace platform {
namespace {
using ErrorHandler = int (*)(Display*, XErrorEvent*);

// What Xlib's handlers, which take no context, need to reach.
struct XErrorState {
  ErrorHandler previous = nullptr;  // put back when the trap goes
  // The first unclaimed failure of each connection; later ones on the same
  // connection are usually its consequences.
  std::map<Display*, std::string> failures;
  pid_t program = 0;  // the one process that reports a lost connection
};
XErrorState g_xErrors;

int NoteError(Display* display, XErrorEvent* event) {
  if (g_xErrors.failures.count(display)) return 0;
  char text[160] = "";
  XGetErrorText(display, event->error_code, text, sizeof text);
  char where[48];
  std::snprintf(where, sizeof where, " in request %d.%d", event->request_code, event->minor_code);
  g_xErrors.failures.emplace(display, std::string(text) + where);
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
  g_xErrors.failures.clear();
}

bool RequestsFailed(Display* display, std::string* what) {
  XSync(display, False);
  auto failure = g_xErrors.failures.extract(display);
  if (failure && what) *what = failure.mapped();
  return !failure.empty();
}

}  // namespace x11
}  // namespace platform
