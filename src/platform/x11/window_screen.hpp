// The screen a handed-over window is on, as the display to draw on.
//
// Does:
//  - point DISPLAY at the screen of a given window where that is not the
//    screen DISPLAY names (":0" given a window of screen 1 becomes
//    ":0.1"), before any connection that must draw there is opened
// Does not:
//  - anything where the window is not there, or is on that screen already
#pragma once

namespace platform::x11 {

// Call before video starts: every later connection opens on that screen.
void AimDisplayAtScreenOf(unsigned long window);

}  // namespace platform::x11
