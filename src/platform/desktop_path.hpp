// Which kind of desktop the program runs on, decided once while video is up.
//
// Does:
//  - tell a real X server, Xwayland and SDL's wayland driver apart
// Does not:
//  - follow a change of desktop while video is up (only after Shutdown)
#pragma once

namespace platform {

enum class DesktopPath {
  RealX,          // an X server that really switches modes through RandR
  Xwayland,       // X clients of a Wayland compositor: modes are only emulated
  NativeWayland,  // SDL's wayland driver: no mode switching exists
  Other,          // off-screen or dummy drivers, or no video at all
};

// Brings up the video subsystem if needed; later calls give the same answer.
DesktopPath CurrentDesktopPath();

// On the Wayland paths the window covers its output (desktop fullscreen)
// and the 640 x 480 design is shown in proportion inside it.
bool DesktopIsWayland();

// The program's windows are X11 windows (a real X server or Xwayland).
bool DesktopIsX11();

// For Shutdown: the next video start decides afresh.
void ForgetDesktopPath();

}  // namespace platform
