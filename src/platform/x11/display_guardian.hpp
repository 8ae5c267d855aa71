// A guard for the display mode: winterhain-guard, a program of its own
// beside the program's file (it loads none of the program's libraries, so
// it is ready long before the program switches), that gives the desktop
// back should the program end without doing so (a crash, SIGKILL, its
// process group killed). It connects at its start, needing nothing at the
// end that may be gone by then (an X authority file, descriptors, a
// process slot), watches the program itself, not a descriptor its children
// could inherit, acts at most once and says on stderr what it did or could
// not do.
#pragma once

#include <string>

#include "platform/x11/desktop_layout.hpp"
#include "platform/x11/window_places.hpp"

struct _XDisplay;

namespace platform::x11 {

// What a switch changed: the desktop's layout before it, the output
// switched, the screen as the switch set it, and where the windows stood.
struct SwitchedDesktop {
  DesktopLayout before;
  RandrId output = 0;
  ScreenSize screen;
  WindowPlaces windows;
};

// Gives `desktop` back, saying what it could not do; true when it is back.
using RestoreFunction = bool (*)(_XDisplay* display, const SwitchedDesktop& desktop);

// The program's end of the line to its guard. Letting it go ends the guard,
// which then acts only if it was last told "switched".
class DisplayGuardian {
 public:
  DisplayGuardian() = default;
  ~DisplayGuardian();
  DisplayGuardian(const DisplayGuardian&) = delete;
  DisplayGuardian& operator=(const DisplayGuardian&) = delete;

  // Starts the guard, told `switched` when given, and returns at once, so
  // that it loads while the program goes on with its start; AwaitReady
  // waits until it holds its X connection. False, with the reason in `why`,
  // when no working guard could be started.
  bool Spawn(std::string& why, const SwitchedDesktop* switched = nullptr);
  bool AwaitReady(std::string& why);
  // True once, when a guard that was started has ended (killed).
  bool Gone();
  // What to give back should the program end from now on; null: nothing.
  void Tell(const SwitchedDesktop* switched);

 private:
  void HangUp();
  bool Fail(std::string& why, const char* reason);  // hangs up; false

  int m_news = -1;  // the program's end of the socket pair
  // The guard's file, held open from the first start: a guard started to
  // replace one killed is the same version as the program, so it reads the
  // messages as they are written, even once an upgrade has replaced it.
  int m_file = -1;
  int m_guard = 0;  // its process id
  bool m_awaited = true;  // its first word read
};

// The guard's whole life: waits until the program has ended, gives back
// what it was last told to, ends.
[[noreturn]] void RunGuard(RestoreFunction restore);

}  // namespace platform::x11
