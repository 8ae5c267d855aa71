// Standard output and error as a program run by another sees them: the
// screensavers read a hack's output through a pipe, and mate-screensaver
// closes its end when it ends the hack.
//
// Does:
//  - tell when the reader of either stream has gone (a pipe or a socket)
//  - keep a write to such a stream from ending the process (SIGPIPE)
// Does not:
//  - undo the ignored SIGPIPE: it holds for the whole process
#pragma once

namespace platform::posix {

// Opens /dev/null on whichever of descriptors 0 to 2 is closed, and has a
// write to a pipe nobody reads fail instead of ending the program.
void HoldStandardStreams();

// From now on a write to a stream whose reader has gone fails (EPIPE)
// instead of killing the process.
void IgnoreBrokenPipes();

// True when nobody reads standard output or standard error any more.
// A terminal, a file or /dev/null is never closed in this sense.
bool StandardOutputClosed();

// Tells of the end of the output once, not again at every later look.
class OutputWatch {
 public:
  bool TakeClosed();

 private:
  bool m_told = false;
};

}  // namespace platform::posix
