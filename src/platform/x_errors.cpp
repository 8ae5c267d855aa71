#include "platform/x_errors.hpp"

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace platform {
namespace {
using ErrorHandler = int (*)(Display*, XErrorEvent*);

struct XErrorState {
  bool installed = false;
  ErrorHandler previous = nullptr;  // put back when the handler is removed
  // The first unclaimed failure of each connection; later ones on the same
  // connection are usually its consequences.
  std::vector<std::pair<Display*, std::string>> failures;
};
XErrorState g_xErrors;

auto FailureOf(Display* display) {
  return std::find_if(g_xErrors.failures.begin(), g_xErrors.failures.end(),
                      [display](const auto& failure) { return failure.first == display; });
}

int NoteError(Display* display, XErrorEvent* event) {
  if (FailureOf(display) != g_xErrors.failures.end()) return 0;
  char text[160] = "";
  XGetErrorText(display, event->error_code, text, sizeof text);
  char where[48];
  std::snprintf(where, sizeof where, " in request %d.%d", event->request_code, event->minor_code);
  g_xErrors.failures.emplace_back(display, std::string(text) + where);
  return 0;
}
}  // namespace

void InstallXErrorHandler() {
  if (g_xErrors.installed) return;
  g_xErrors.previous = XSetErrorHandler(NoteError);
  g_xErrors.installed = true;
}

void RemoveXErrorHandler() {
  if (g_xErrors.installed) XSetErrorHandler(g_xErrors.previous);
  g_xErrors = XErrorState{};
}

bool XRequestsFailed(Display* display, std::string* what) {
  XSync(display, False);
  const auto failure = FailureOf(display);
  if (failure == g_xErrors.failures.end()) return false;
  if (what) *what = failure->second;
  g_xErrors.failures.erase(failure);
  return true;
}

}  // namespace platform
