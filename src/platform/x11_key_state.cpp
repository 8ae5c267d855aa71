#include "platform/x11_key_state.hpp"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstring>

namespace platform {
namespace {
// A connection of our own: SDL's carries the window's events, and a query
// on it from here would interleave with SDL's own reading.
Display* g_display = nullptr;
bool g_tried = false;  // opened once; a failure is not retried every frame
std::uint32_t g_keysym = 0;
std::vector<int> g_keycodes;  // the keycodes producing g_keysym

void LearnKeycodes(std::uint32_t keysym) {
  int first = 0, last = 0, perKeycode = 0;
  XDisplayKeycodes(g_display, &first, &last);
  const int count = last - first + 1;
  KeySym* symbols = XGetKeyboardMapping(g_display, static_cast<KeyCode>(first), count, &perKeycode);
  g_keycodes = symbols ? KeycodesProducing(keysym, first, count, perKeycode, symbols)
                       : std::vector<int>{};
  if (symbols) XFree(symbols);
  g_keysym = keysym;
}

bool OnX11() {
  const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
  return driver && std::strcmp(driver, "x11") == 0;
}

// A changed layout (xmodmap, setxkbmap) is announced to every client.
bool LayoutChanged() {
  XEvent event;
  bool changed = false;
  while (XCheckTypedEvent(g_display, MappingNotify, &event)) {
    XRefreshKeyboardMapping(&event.xmapping);
    changed = true;
  }
  return changed;
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

bool X11KeyIsDown(std::uint32_t keysym, bool& known) {
  known = false;
  if (!g_tried && OnX11()) {
    g_tried = true;
    g_display = XOpenDisplay(nullptr);
  }
  if (!g_display) return false;
  char keys[32];
  XQueryKeymap(g_display, keys);
  if (keysym != g_keysym || LayoutChanged()) LearnKeycodes(keysym);
  known = true;
  return AnyKeycodeDown(keys, g_keycodes);
}

void CloseX11KeyState() {
  if (g_display) XCloseDisplay(g_display);
  g_display = nullptr;
  g_tried = false;
  g_keysym = 0;
  g_keycodes.clear();
}

}  // namespace platform
