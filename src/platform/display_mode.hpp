// Temporary display-mode switches, undone at the end.
//
// Does:
//  - switch the size of one output (the primary, else the first connected
//    one) through RandR 1.2 or later, on a real X server only
//  - remember the desktop's mode, never one another instance switched to,
//    and leave a guard process that puts it back if the program dies
// Does not:
//  - switch bits per pixel: an X server has one depth, the request is ignored
//  - choose a refresh rate: the first mode of the asked-for size is taken
//  - switch on Xwayland, native Wayland or off-screen drivers
#pragma once

#include <cstdint>

namespace platform {

// Switches the display the program runs on to width x height. The colour
// depth is the one closest to bitsPerPixel that the display offers (an X
// server offers only its own). True when the display now runs at that size.
// Only the output the window shows on changes, and only when SDL's video
// driver is x11. The desktop's mode of that output is remembered for the
// restore (never a mode another instance switched to).
bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel);

// True while a switch made by SwitchDisplayMode is in effect.
bool DisplayIsSwitched();

// Where the switched output sits, in root-window coordinates.
struct DisplayArea {
  int x = 0, y = 0, width = 0, height = 0;
};
// The switched output's area; false while no switch is in effect.
bool GetSwitchedArea(DisplayArea& area);

// Puts the remembered mode back; does nothing when nothing was switched.
void RestoreDisplayMode();

// Tools that render off screen turn switching off for the whole process.
void SetDisplaySwitchingEnabled(bool enabled);

// For Shutdown, after RestoreDisplayMode: closes the RandR connection and
// forgets what was switched.
void CloseDisplayModeConnection();

}  // namespace platform
