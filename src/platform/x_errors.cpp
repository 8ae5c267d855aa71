#include "platform/x_errors.hpp"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace platform {
namespace {
bool g_installed = false;
// The first unclaimed failure of each connection; later ones on the same
// connection are usually its consequences.
std::vector<std::pair<Display*, std::string>> g_failures;

auto FailureOf(Display* display) {
  return std::find_if(g_failures.begin(), g_failures.end(),
                      [display](const auto& failure) { return failure.first == display; });
}

int NoteError(Display* display, XErrorEvent* event) {
  if (FailureOf(display) != g_failures.end()) return 0;
  char text[160] = "";
  XGetErrorText(display, event->error_code, text, sizeof text);
  char where[48];
  std::snprintf(where, sizeof where, " in request %d.%d", event->request_code, event->minor_code);
  g_failures.emplace_back(display, std::string(text) + where);
  return 0;
}
}  // namespace

void InstallXErrorHandler() {
  if (g_installed) return;
  XSetErrorHandler(NoteError);
  g_installed = true;
}

bool XRequestsFailed(Display* display, std::string* what) {
  XSync(display, False);
  const auto failure = FailureOf(display);
  if (failure == g_failures.end()) return false;
  if (what) *what = failure->second;
  g_failures.erase(failure);
  return true;
}

}  // namespace platform
