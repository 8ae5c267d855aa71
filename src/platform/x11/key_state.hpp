// The X server's own key state, which every client can read whichever
// window has the keyboard focus, read on the program's own connection
// (x11/server.hpp). Keys are named by the symbol they produce in the
// current layout, not by their place on the keyboard.
#pragma once

#include <cstdint>
#include <vector>

struct _XDisplay;

namespace platform::x11 {

// The keycodes whose unshifted symbol (first group, first level) is
// `keysym`, from a keyboard mapping as XGetKeyboardMapping returns it:
// `symsPerKeycode` symbols for each keycode from `firstKeycode` on.
std::vector<int> KeycodesProducing(std::uint32_t keysym, int firstKeycode, int keycodeCount,
                                   int symsPerKeycode, const unsigned long* symbols);

// True when one of `keycodes` is down in a key vector as XQueryKeymap fills
// it (bit k of the 256 is keycode k).
bool AnyKeycodeDown(const char (&keys)[32], const std::vector<int>& keycodes);

// Not SDL's connection: that carries the window's events, and a query on it
// from here would interleave with SDL's own reading.
class KeyState {
 public:
  // Reads on `display` (not owned); false when there is none.
  bool Open(_XDisplay* display) { return (m_display = display) != nullptr; }
  // Whether the key producing Escape is down on the server now.
  bool EscapeIsDown();
  // Whether `xevent` (an XEvent) is a press of the key producing Escape in
  // the layout as it is now (SDL's own symbols can lag behind a change).
  bool IsEscapePress(const void* xevent);

 private:
  std::vector<int> KeycodesNow(std::uint32_t keysym);
  void DropEvents();

  _XDisplay* m_display = nullptr;
};

}  // namespace platform::x11
