// The X server's own key state, which every client can read whichever
// window has the keyboard focus. Keys are named by the symbol they produce
// in the current layout, not by their place on the keyboard.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// The keycodes whose unshifted symbol (first group, first level) is
// `keysym`, from a keyboard mapping as XGetKeyboardMapping returns it:
// `symsPerKeycode` symbols for each keycode from `firstKeycode` on.
std::vector<int> KeycodesProducing(std::uint32_t keysym, int firstKeycode, int keycodeCount,
                                   int symsPerKeycode, const unsigned long* symbols);

// True when one of `keycodes` is down in a key vector as XQueryKeymap fills
// it (bit k of the 256 is keycode k).
bool AnyKeycodeDown(const char (&keys)[32], const std::vector<int>& keycodes);

// Whether the key producing `keysym` is down on the X server now. False and
// `known` false when there is no X server to ask (another video driver).
bool X11KeyIsDown(std::uint32_t keysym, bool& known);

// Closes the connection X11KeyIsDown opened.
void CloseX11KeyState();

}  // namespace platform
