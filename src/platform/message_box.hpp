// Modal message boxes with one OK button.
//
// Does:
//  - show the box on X11 and on Wayland (through SDL's dialog program)
//  - write "caption: text" to stderr where it cannot be shown for certain
//    (Wayland boxes too), and end a box at a termination signal
// Does not:
//  - other buttons, icons or answers
//  - show boxes without an owner window (they go to stderr)
#pragma once

namespace platform {

struct Window;

// Shows the box owned by `owner` and waits for OK. A box that was not shown
// for certain or not answered (no display or font for it, a dialog program
// whose result cannot be trusted, a box cut short by a termination signal)
// is written to stderr as "caption: text". Once a termination signal has
// come, boxes are no longer shown, only written.
void ShowMessageBox(Window* owner, const char* text, const char* caption);

}  // namespace platform
