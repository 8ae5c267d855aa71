// SIGINT, SIGTERM and SIGHUP, as the event layer and the message boxes see
// them, and the terminal's stops (Ctrl+Z: SIGTSTP, SIGTTIN, SIGTTOU). Above
// the layer, a termination request is a Terminate event (platform.hpp).
//
// The handlers note the request for the event loop (which gives the desktop
// back before a stop) and end a box's process; nothing else: no allocation,
// no locks.
#pragma once

#include <signal.h>
#include <sys/types.h>

namespace platform::posix {

// Catches SIGINT, SIGTERM, SIGHUP as requests, the stops for the event loop.
void InstallTerminationSignals();
// Sets `handler` for `signal`, nothing blocked while it runs; `was` gets the
// one before, where given.
void SetHandler(int signal, void (*handler)(int), int flags = 0, struct sigaction* was = nullptr);

// True once, for each termination request since the last call.
bool TakeTerminateRequest();
// The first of SIGINT, SIGTERM and SIGHUP that arrived (0: none yet), and
// whether one has.
int TerminationSignal();
bool TerminationRequested();

// The child process that shows a message box right now (0: none). A
// termination signal kills it, so that the program waiting for the box can
// go; one that came before the child was known kills it here.
void EndOnTermination(pid_t child);
// From the first termination signal on, the process has `seconds` to end
// by itself; then it dies of that signal, even inside a call that never
// returns (a driver waiting on its display server). Uses SIGALRM.
void DieOfTerminationWithin(unsigned seconds);
// When one arrived, ends the process by its default action; else returns.
void EndAsSignalled();
// What a termination signal calls, inside the handler, while a box is drawn
// in this process (no child could be forked for it) and reads no signal
// itself (nullptr: nothing). `end` ends the program; one that came already
// calls it here.
void EndInPlaceOnTermination(void (*end)());

// The stop signal that arrived since the last call, or 0. Until StopNow,
// that signal has its default action again: a second one, or one raised
// by a write to the terminal from the background, stops the program at
// once instead of waiting for the event loop.
int TakeStopRequest();
// Stops the program as `signal` would have, and returns once it is
// continued (at once where the terminal's stops do not apply: a process
// group with no shell to continue it). The handler is back afterwards.
void StopNow(int signal);

// While one lives, the terminal's stops wait, in every thread: one that
// comes is taken as it would have been once this goes. For the time the X
// server is held: a process stopped while it holds it stops every client.
class StopsDeferred {
 public:
  StopsDeferred();
  ~StopsDeferred();
  StopsDeferred(const StopsDeferred&) = delete;
  StopsDeferred& operator=(const StopsDeferred&) = delete;

 private:
  struct sigaction m_was[3];
};

}  // namespace platform::posix
