// What kind of desktop the program shows on, decided once when video starts
// from the host and the program's role, and held as one value: each part of
// the layer reads the field it needs instead of asking which desktop this is.
//
// Does:
//  - tell a real X server, Xwayland and SDL's wayland driver apart, as a
//    pure function of plain data
// Does not:
//  - follow a change of desktop while video is up (only after Shutdown)
#pragma once

#include "platform/host.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/quirks.hpp"

namespace platform {

enum class Fullscreen {
  Windowed,             // the window keeps the rectangle it was made with
  CoverSwitchedOutput,  // marked as covering the output the program switched
  Desktop,              // covers the output it opens on (when asked for: see the quirks)
  Resizable,            // framed by the window manager; the user sizes it
  HandedOver,           // another program's window (or the root), at its size,
                        // which it may change; never shown, raised or focused
  // One borderless window over the X screen, typed as the desktop
  // (_NET_WM_WINDOW_TYPE_DESKTOP): a window manager keeps it below all others.
  DesktopBackground,
};

enum class EscapeSource {
  Window,    // SDL's keyboard state: only while a window of ours has the focus
  XServer,   // the X server's key state, whichever window has the focus
  Nowhere,   // never read: the program that handed the window over ends it
};

enum class BoxTrust {
  NotShown,          // nowhere to show a box: it goes to stderr
  ShownUnconfirmed,  // a dialog program shows it; SDL may report success when it failed
  Confirmed,         // shown and answered for certain
};

struct DesktopPolicy {
  // Switch the output's mode (and guard the switch): only where a desktop
  // really switches; Xwayland would only scale the picture.
  bool switchesMode = false;
  bool letterboxes = false;  // the 4:3 design in proportion, at the drawable's pixels
  Fullscreen fullscreen = Fullscreen::Windowed;
  // With no video driver asked for, SDL tries wayland before X11: sharper there.
  bool prefersNativeWayland = false;
  EscapeSource escape = EscapeSource::Window;
  BoxTrust boxes = BoxTrust::NotShown;
  // Swap interval 1 where the driver offers it (else the caller waits).
  bool pacesToRefresh = false;
  // Ends once nobody reads standard output or error.
  bool endsWithOutput = false;
  Quirks quirks;
};

enum class Role {
  Program,  // the scene, on the desktop
  Tool,     // renders off screen or in a test's window: never switches the display
  SaverInOwnWindow,
  SaverInHandedWindow,  // a window another program made, or the root window
  SaverAsDesktopWindow,  // a window of its own below all others (X11's live background)
};

Role RoleOf(const InitOptions& options);

// `role`'s policy on `host`. A screensaver's is the same on every desktop: no
// mode switch, no box, the design in proportion in a surface of any shape,
// paced to the refresh.
DesktopPolicy DecidePolicy(const Host& host, Role role);

}  // namespace platform
