// The X server's own key state, which every client can read whichever
// window has the keyboard focus. Keys are named by the symbol they produce
// in the current layout, not by their place on the keyboard.
//
// Does:
//  - read the key state and the layout on a connection of its own
// Does not:
//  - anything unless SDL's video driver is x11; keys by their place
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

// True when the X server's key state can be read: the video driver is x11
// and a connection of our own to the server is open (opened on first use).
bool X11KeyStateAvailable();

// Whether the key producing `keysym` is down on the X server now.
bool X11KeyIsDown(std::uint32_t keysym);

// Whether the key with this X keycode produces `keysym` in the layout as it
// is now (SDL's own key symbols can lag behind a layout change).
bool X11KeycodeProduces(int keycode, std::uint32_t keysym);

// Closes the connection X11KeyIsDown opened.
void CloseX11KeyState();

}  // namespace platform
