#include "platform/x11_key_state.hpp"

#include <SDL.h>
#include <X11/Xlib.h>

#include <algorithm>

#include "platform/desktop_path.hpp"

namespace platform {
namespace {
struct KeyStateConnection {
  // A connection of our own: SDL's carries the window's events, and a query
  // on it from here would interleave with SDL's own reading.
  Display* display = nullptr;
  bool tried = false;  // opened once; a failure is not retried every frame
};
KeyStateConnection g_keys;

// The layout may change at any time (xmodmap, setxkbmap), and the change
// notices do not reliably reach a connection that only asks: the mapping is
// read afresh whenever it matters.
std::vector<int> KeycodesNow(std::uint32_t keysym) {
  int first = 0, last = 0, perKeycode = 0;
  XDisplayKeycodes(g_keys.display, &first, &last);
  const int count = last - first + 1;
  KeySym* symbols =
      XGetKeyboardMapping(g_keys.display, static_cast<KeyCode>(first), count, &perKeycode);
  if (!symbols) return {};
  std::vector<int> keycodes = KeycodesProducing(keysym, first, count, perKeycode, symbols);
  XFree(symbols);
  return keycodes;
}

// Nothing is asked for on this connection, but what the server sends to
// every client must not pile up unread.
void DropEvents() {
  XEvent event;
  while (XQLength(g_keys.display) > 0) XNextEvent(g_keys.display, &event);
}

bool AnyKeyDown(const char (&keys)[32]) {
  for (char byte : keys)
    if (byte) return true;
  return false;
}
}  // namespace

std::vector<int> KeycodesProducing(std::uint32_t keysym, int firstKeycode, int keycodeCount,
                                   int symsPerKeycode, const unsigned long* symbols) {
  std::vector<int> keycodes;
  if (symsPerKeycode <= 0) return keycodes;
  for (int i = 0; i < keycodeCount; ++i)
    if (symbols[static_cast<std::size_t>(i) * symsPerKeycode] == keysym)
      keycodes.push_back(firstKeycode + i);
  return keycodes;
}

bool AnyKeycodeDown(const char (&keys)[32], const std::vector<int>& keycodes) {
  for (int keycode : keycodes)
    if (keycode >= 0 && keycode < 256 && (keys[keycode / 8] >> (keycode % 8) & 1)) return true;
  return false;
}

bool X11KeyStateAvailable() {
  if (!g_keys.tried && SDL_WasInit(SDL_INIT_VIDEO) && DesktopIsX11()) {
    g_keys.tried = true;
    g_keys.display = XOpenDisplay(nullptr);
  }
  return g_keys.display != nullptr;
}

bool X11KeyIsDown(std::uint32_t keysym) {
  if (!X11KeyStateAvailable()) return false;
  char keys[32];
  XQueryKeymap(g_keys.display, keys);
  DropEvents();
  // The mapping is only needed, and read, while some key is down.
  return AnyKeyDown(keys) && AnyKeycodeDown(keys, KeycodesNow(keysym));
}

bool X11KeycodeProduces(int keycode, std::uint32_t keysym) {
  if (!X11KeyStateAvailable()) return false;
  const std::vector<int> keycodes = KeycodesNow(keysym);
  DropEvents();
  return std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end();
}

void CloseX11KeyState() {
  if (g_keys.display) XCloseDisplay(g_keys.display);
  g_keys = KeyStateConnection{};
}

}  // namespace platform
