#pragma once

namespace platform::posix {

// While one of these lives, libdbus (which SDL's video start-up asks for a
// session bus, for input methods and the screen saver) finds none when the
// desktop has none, instead of starting dbus-launch: that takes time and
// leaves a bus daemon running after the program has ended. A desktop that
// has a session bus keeps it. SDL asks only once, so the hold is needed only
// around SDL_Init.
class NoSessionBusLaunch {
 public:
  NoSessionBusLaunch();
  ~NoSessionBusLaunch();
  NoSessionBusLaunch(const NoSessionBusLaunch&) = delete;
  NoSessionBusLaunch& operator=(const NoSessionBusLaunch&) = delete;

 private:
  bool m_held = false;
};

}  // namespace platform::posix
