// Standard output and error as a program run by another sees them: the
// screensavers read a hack's output through a pipe, and mate-screensaver
// closes its end when it ends the hack.
#pragma once

namespace platform::posix {

// Opens /dev/null on whichever of descriptors 0 to 2 is closed, and ignores
// SIGPIPE for good: a write to a stream nobody reads (stderr piped into a
// pager that was closed) fails instead of killing the program.
void HoldStandardStreams();

// True once nobody reads standard output or standard error any more (a
// terminal, a file or /dev/null never ends so); once, not at every look.
class OutputWatch {
 public:
  bool TakeClosed();

 private:
  bool m_told = false;
};

}  // namespace platform::posix
