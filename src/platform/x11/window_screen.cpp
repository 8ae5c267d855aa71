#include "platform/x11/window_screen.hpp"

#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
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

void AimDisplayAtScreenOf(unsigned long window) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  const int screen = ScreenOf(display, window);
  if (screen >= 0 && screen != DefaultScreen(display))
    setenv("DISPLAY", OnScreen(DisplayString(display), screen).c_str(), 1);
  XCloseDisplay(display);
}

}  // namespace platform::x11
