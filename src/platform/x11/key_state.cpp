#include "platform/x11/key_state.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

#include <algorithm>

namespace platform::x11 {

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

// The layout may change at any time (xmodmap, setxkbmap), and the change
// notices do not reliably reach a connection that only asks: the mapping is
// read afresh whenever it matters.
std::vector<int> KeyState::KeycodesNow(std::uint32_t keysym) {
  int first = 0, last = 0, perKeycode = 0;
  XDisplayKeycodes(m_display, &first, &last);
  const int count = last - first + 1;
  KeySym* symbols = XGetKeyboardMapping(m_display, static_cast<KeyCode>(first), count, &perKeycode);
  if (!symbols) return {};
  std::vector<int> keycodes = KeycodesProducing(keysym, first, count, perKeycode, symbols);
  XFree(symbols);
  return keycodes;
}

// Nothing but the screen's changes is asked for on this connection (the
// display switch shares it), and what the server sends to every client
// must not pile up unread: the screen's changes are taken into Xlib's copy
// of its size, the rest dropped.
void KeyState::DropEvents() {
  XEvent event;
  while (XQLength(m_display) > 0) {
    XNextEvent(m_display, &event);
    XRRUpdateConfiguration(&event);
  }
}

bool KeyState::EscapeIsDown() {
  if (!m_display) return false;
  char keys[32];
  XQueryKeymap(m_display, keys);
  DropEvents();
  // The mapping is only needed, and read, while some key is down.
  return std::any_of(std::begin(keys), std::end(keys), [](char byte) { return byte != 0; }) &&
         AnyKeycodeDown(keys, KeycodesNow(XK_Escape));
}

bool KeyState::IsEscapePress(const void* xevent) {
  const auto* event = static_cast<const XEvent*>(xevent);
  if (!m_display || !event || event->type != KeyPress) return false;
  const std::vector<int> keycodes = KeycodesNow(XK_Escape);
  DropEvents();
  return std::find(keycodes.begin(), keycodes.end(), static_cast<int>(event->xkey.keycode)) !=
         keycodes.end();
}

}  // namespace platform::x11
