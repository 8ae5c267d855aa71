#include "platform/x11/fullscreen_hint.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/x11/desktop_windows.hpp"

namespace platform::x11 {
namespace {
// A PropertyNotify of the window and property in `wanted` (an XPropertyEvent).
Bool IsPropertyNotify(Display*, XEvent* event, XPointer wanted) {
  const auto* property = reinterpret_cast<const XPropertyEvent*>(wanted);
  return event->type == PropertyNotify && event->xproperty.window == property->window &&
         event->xproperty.atom == property->atom;
}

// A fixed size (SDL gives a window that is not resizable equal minimum and
// maximum sizes) is dropped: a covering window takes the monitor's size,
// and a manager that adds a title bar before it applies fullscreen keeps
// room for that bar inside the limits, making the window taller.
void DropSizeLimits(Display* display, unsigned long window) {
  XSizeHints* hints = XAllocSizeHints();
  if (!hints) return;
  long supplied = 0;
  if (XGetWMNormalHints(display, window, hints, &supplied)) {
    hints->flags &= ~(PMinSize | PMaxSize);
    XSetWMNormalHints(display, window, hints);
  }
  XFree(hints);
}

unsigned long StampUserTime(Display* display, unsigned long window) {
  const Atom userTime = XInternAtom(display, "_NET_WM_USER_TIME", False);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return CurrentTime;
  XSelectInput(display, window, attributes.your_event_mask | PropertyChangeMask);
  XChangeProperty(display, window, userTime, XA_CARDINAL, 32, PropModeAppend, nullptr, 0);
  XPropertyEvent wanted{};
  wanted.window = window;
  wanted.atom = userTime;
  XEvent event;
  XIfEvent(display, &event, IsPropertyNotify, reinterpret_cast<XPointer>(&wanted));
  const long time = static_cast<long>(event.xproperty.time);
  XChangeProperty(display, window, userTime, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&time), 1);
  return event.xproperty.time;
}
}  // namespace

unsigned long PrepareToCoverItsMonitor(Display* display, unsigned long window) {
  // Until its first frame a window without a background shows whatever the
  // screen held there (the desktop and its panel); a black one shows black.
  XSetWindowBackground(display, window, BlackPixel(display, DefaultScreen(display)));
  DropSizeLimits(display, window);
  return StampUserTime(display, window);
}

void RequestCoveringItsMonitor(Display* display, unsigned long window, unsigned long userTime) {
  constexpr long add = 1, fromApplication = 1;
  const long fullscreen =
      static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
  SendToWindowManager(display, window, "_NET_WM_STATE", {add, fullscreen, 0, fromApplication, 0});
  const long time = static_cast<long>(userTime);
  SendToWindowManager(display, window, "_NET_ACTIVE_WINDOW", {fromApplication, time, 0, 0, 0});
  XFlush(display);
}

}  // namespace platform::x11
