// Temporary display-mode switches, undone at the end.
//
// Does:
//  - switch the size of the output the scene shows on, where the desktop
//    really switches modes (a real X server, through RandR)
//  - remember the desktop's mode and leave a guard process that puts it
//    back should the program die without doing so
// Does not:
//  - switch bits per pixel: an X server has one depth, the request is ignored
//  - choose a refresh rate: the first mode of the asked-for size is taken
//  - switch on Xwayland, native Wayland, off-screen drivers, or when the
//    layer was started with switching off
#pragma once

#include <cstdint>

namespace platform {

// Switches the display the program runs on to width x height. The colour
// depth is the one closest to bitsPerPixel that the display offers (an X
// server offers only its own). True when the display now runs at that size.
bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel);

// Puts the remembered mode back; does nothing when nothing was switched.
void RestoreDisplayMode();

}  // namespace platform
