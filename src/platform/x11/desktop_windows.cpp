#include "platform/x11/desktop_windows.hpp"

#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>

#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
std::vector<unsigned long> ReadList(Display* display, ::Window window, const char* name, Atom type,
                                    long most) {
  return ReadProperty(display, window, XInternAtom(display, name, False), type, most);
}

bool OwnWindow(Display* display, ::Window window) {
  const std::vector<unsigned long> pid = ReadList(display, window, "_NET_WM_PID", XA_CARDINAL, 1);
  return !pid.empty() && pid[0] == static_cast<unsigned long>(getpid());
}

// The frame's top-left corner of client `window`; false when it is gone.
bool ReadPlace(Display* display, ::Window window, WindowPlace& place) {
  int x = 0, y = 0;
  ::Window child = 0;
  if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
    return false;
  // left, right, top, bottom
  const std::vector<unsigned long> frame =
      ReadList(display, window, "_NET_FRAME_EXTENTS", XA_CARDINAL, 4);
  if (frame.size() == 4) x -= static_cast<int>(frame[0]), y -= static_cast<int>(frame[2]);
  place = WindowPlace{static_cast<std::uint32_t>(window), x, y};
  return true;
}

bool MoveResizeSupported(Display* display) {
  const std::vector<unsigned long> supported =
      ReadList(display, DefaultRootWindow(display), "_NET_SUPPORTED", XA_ATOM, 1024);
  const Atom wanted = XInternAtom(display, "_NET_MOVERESIZE_WINDOW", False);
  return std::find(supported.begin(), supported.end(), wanted) != supported.end();
}
}  // namespace

std::vector<unsigned long> ReadProperty(Display* display, ::Window window, Atom property, Atom type,
                                        long most) {
  Atom got = 0;
  int format = 0;
  unsigned long count = 0, rest = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> items;
  if (XGetWindowProperty(display, window, property, 0, most, False, type, &got, &format, &count,
                         &rest, &data) == Success &&
      got == type && format == 32)
    items.assign(reinterpret_cast<unsigned long*>(data),
                 reinterpret_cast<unsigned long*>(data) + count);
  if (data) XFree(data);
  return items;
}

void SendToWindowManager(Display* display, ::Window window, const char* type,
                         const long (&data)[5]) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, type, False);
  event.xclient.format = 32;
  for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[i];
  XSendEvent(display, DefaultRootWindow(display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

WindowPlaces ReadWindowPlaces(Display* display) {
  WindowPlaces places;
  WindowPlace place;
  for (unsigned long window : ReadList(display, DefaultRootWindow(display), "_NET_CLIENT_LIST",
                                       XA_WINDOW, kMaxWindowPlaces))
    if (!OwnWindow(display, window) && ReadPlace(display, window, place)) places.Add(place);
  RequestsFailed(display);  // a window gone meanwhile
  return places;
}

void MoveWindows(Display* display, const std::vector<WindowPlace>& moves) {
  if (moves.empty()) return;
  // x and y given, for the frame's top-left corner (north-west gravity);
  // from a tool acting for the user, which the manager follows as it is.
  constexpr long kNorthWest = 1, kXGiven = 1 << 8, kYGiven = 1 << 9, kFromUser = 2 << 12;
  const bool moveResize = MoveResizeSupported(display);
  for (const WindowPlace& place : moves)
    if (moveResize)
      SendToWindowManager(display, place.window, "_NET_MOVERESIZE_WINDOW",
                          {kNorthWest | kXGiven | kYGiven | kFromUser, place.x, place.y, 0, 0});
    else
      XMoveWindow(display, place.window, place.x, place.y);
  RequestsFailed(display);  // a window gone meanwhile
}

}  // namespace platform::x11
