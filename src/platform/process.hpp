// The process-wide set-up every way out depends on: standard streams that
// are always open, and children that never outlive the program.
//
// Does:
//  - hold descriptors 0 to 2 open, writable without SIGPIPE; bind forked
//    children to the program
//  - end the program with one line when the X connection is lost
//  - be the display guard, in the process started as one
// Does not:
//  - undo any of it: it holds for the whole process, past Shutdown
#pragma once

namespace platform {

// When this process was started as the program's display guard, does all
// it has to and ends it; else false. Call before anything else.
bool RanAsDisplayGuard(int argc, char** argv);

// Opens /dev/null on whichever of descriptors 0, 1 and 2 is closed, so that
// no display connection or socket the program opens later lands there and
// receives what libraries write to "stderr"; a write to a pipe nobody reads
// any more fails instead of ending the program (SIGPIPE ignored). Call
// first thing in main.
void HoldStandardStreams();

// From now on every child the program forks (SDL's message boxes, the
// dialog programs it starts) is killed when the program ends, however it
// ends, so that no box or window of a dead program stays on screen. The
// display guard, started by posix_spawn (which runs no fork handler), is
// left to outlive it.
void BindChildrenToProgram();

// A lost connection to the X server (the server ended, the client was
// killed off) ends the program with status 1 and one line on stderr instead
// of Xlib's dump; the display guard then does what can still be done.
void EndOnLostDisplayConnection();

// Ends the process by `signal`'s default action, as a program that never
// caught it would have ended: its parent sees it killed by that signal.
// Call once everything is cleaned up; exit handlers do not run.
[[noreturn]] void DieOfSignal(int signal);

}  // namespace platform
