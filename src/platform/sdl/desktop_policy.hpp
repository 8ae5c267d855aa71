// What kind of desktop the program shows on, decided once when video starts
// and held as one value: each part of the layer reads the field it needs
// instead of asking which desktop this is. A new kind of host is one new
// value here.
//
// Does:
//  - tell a real X server, Xwayland and SDL's wayland driver apart
// Does not:
//  - follow a change of desktop while video is up (only after Shutdown)
#pragma once

namespace platform {

enum class Fullscreen {
  Windowed,             // the window keeps the rectangle it was made with
  CoverSwitchedOutput,  // marked as covering the output the program switched
  Desktop,              // covers the output it opens on, at the output's size
};

enum class EscapeSource {
  Window,    // SDL's keyboard state: only while a window of ours has the focus
  XServer,   // the X server's key state, whichever window has the focus
};

enum class BoxTrust {
  NotShown,          // nowhere to show a box: it goes to stderr
  ShownUnconfirmed,  // a dialog program shows it, but its answer cannot be trusted
  Confirmed,         // shown and answered for certain
};

struct DesktopPolicy {
  // Switch the output's mode (and guard the switch): only where a desktop
  // really switches; Xwayland would only scale the picture.
  bool switchesMode = false;
  // Draw the 4:3 design in proportion, at the drawable's own pixels, inside
  // a surface of another shape.
  bool letterboxes = false;
  Fullscreen fullscreen = Fullscreen::Windowed;
  EscapeSource escape = EscapeSource::Window;
  BoxTrust boxes = BoxTrust::NotShown;
};

// The policy for the video driver SDL started with (nullptr: video is down).
DesktopPolicy DecideDesktopPolicy(const char* videoDriver);

}  // namespace platform
