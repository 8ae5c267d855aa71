// Temporary display-mode switches, undone at the end.
#pragma once

#include <cstdint>

namespace platform {

// Switches the display the program runs on to width x height. The colour
// depth is the one closest to bitsPerPixel that the display offers (an X
// server offers only its own). True when the display now runs at that size.
// The mode in use before the first switch is remembered for the restore.
bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel);

// True while a switch made by SwitchDisplayMode is in effect.
bool DisplayIsSwitched();

// Puts the remembered mode back; does nothing when nothing was switched.
void RestoreDisplayMode();

// Tools that render off screen turn switching off for the whole process.
void SetDisplaySwitchingEnabled(bool enabled);

}  // namespace platform
