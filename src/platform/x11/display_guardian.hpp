// A guard for the display mode: a small process, started before the first
// switch, that puts the desktop's mode back should the program end without
// doing so itself (a crash, SIGKILL, its whole process group killed). The
// program tells it whether the display is switched; the guard watches the
// program itself (not a descriptor its children could inherit), lives in a
// session of its own, acts at most once and says on stderr what it did.
//
// Does:
//  - put the desktop's mode back after a crash, SIGKILL or group kill
// Does not:
//  - reach an X server that has ended (it says so instead)
//  - guard anything but the display mode, or act twice
#pragma once

#include <functional>

namespace platform::x11 {

enum class RestoreOutcome {
  Restored,     // the desktop's mode is back
  NoServer,     // the X server cannot be reached (it is gone)
  Refused,      // the X server did not take the desktop's mode
  OutputGone,   // the switched output is off or unplugged: its mode is left
};

// The program's end of the line to its guard. Letting it go ends the guard,
// which then acts only if it was last told "switched".
class DisplayGuardian {
 public:
  DisplayGuardian() = default;
  ~DisplayGuardian();
  DisplayGuardian(const DisplayGuardian&) = delete;
  DisplayGuardian& operator=(const DisplayGuardian&) = delete;

  // Starts the guard once; `restore` runs in the guard when it has to act.
  // False when no guard could be started (the program runs on unguarded).
  bool Start(std::function<RestoreOutcome()> restore);
  // Tells the guard the display is switched (true) or back to normal.
  void Tell(bool switched);

 private:
  int m_news = -1;  // the program's end of the socket pair
};

}  // namespace platform::x11
