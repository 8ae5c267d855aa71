// System events, reduced to what the window layer above turns into messages.
//
// Does:
//  - close requests, size changes, key presses (only Escape is named)
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
  int key = 0;               // KeyDown: a platform::Key value, or 0 for others
};

// Routes SIGINT, SIGTERM and SIGHUP into Terminate events, and has the
// event functions below handle SIGTSTP, SIGTTIN and SIGTTOU.
void InstallTerminationSignals();
// True once any of those signals has arrived.
bool TerminationRequested();
// The first of those signals that arrived (SIGTERM...), or 0 for none.
int TerminationSignal();
// Takes the next event without waiting; false when there is none.
bool PollEvent(Event& event);
// Waits up to timeoutMs for an event; false when none came.
bool WaitEvent(Event& event, int timeoutMs);

}  // namespace platform
