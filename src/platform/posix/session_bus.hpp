#pragma once

namespace platform::posix {

// Runs `start` (SDL_Init: SDL's video start-up asks libdbus for a session
// bus, for input methods and the screen saver) so that libdbus finds none
// when the desktop has none, instead of starting dbus-launch: that takes
// time and leaves a bus daemon running after the program has ended. A
// desktop that has a session bus keeps it. SDL asks only once.
bool StartWithoutBusLaunch(bool (*start)());

}  // namespace platform::posix
