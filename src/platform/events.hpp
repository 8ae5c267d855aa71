// System events, reduced to what the window layer above turns into messages.
//
// Does:
//  - close requests, size changes, key presses (only Escape is named), and
//    Escape as the frame loop polls it: by the symbol it produces in the
//    current layout, on X11 from the server whichever window has the focus,
//    from the moment the layer starts
//  - SIGINT, SIGTERM and SIGHUP as Terminate events
//  - the terminal's stops (Ctrl+Z) and the window minimised: the display
//    gets the desktop's mode meanwhile and is switched again after
// Does not:
//  - mouse, focus, paint or text-input events; keys other than Escape
#pragma once

namespace platform {

struct Window;

enum class EventKind {
  Close,      // the window manager asks the window to close
  Size,       // the window's client area changed size
  KeyDown,    // a key went down while the window had the focus
  Terminate,  // SIGINT, SIGTERM or SIGHUP arrived: close the program's windows
};

struct Event {
  EventKind kind = EventKind::Close;
  Window* window = nullptr;  // nullptr for Terminate
  int width = 0;             // Size
  int height = 0;            // Size
  bool escape = false;       // KeyDown: the key was Escape
};

struct EscapeKey {
  bool down = false;
  bool pressedSincePoll = false;  // a press and release between two polls counts
};

// Routes SIGINT, SIGTERM and SIGHUP into Terminate events, and has the
// event functions below handle SIGTSTP, SIGTTIN and SIGTTOU.
void InstallTerminationSignals();
// True once any of those signals has arrived.
bool TerminationRequested();
// Takes the next event, waiting up to timeoutMs for one (0: not at all);
// false when none came.
bool PollEvent(Event& event, int timeoutMs = 0);
// Escape now, and whether it went down since the previous call; never down
// where the program that handed the window over ends it.
EscapeKey PollEscape();

}  // namespace platform
