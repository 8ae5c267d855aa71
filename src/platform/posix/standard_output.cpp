#include "platform/posix/standard_output.hpp"

#include <poll.h>

#include <csignal>

namespace platform::posix {

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

// A pipe without readers reports POLLERR on its writing end, a socket whose
// peer has gone POLLHUP; neither needs anything written to find out.
bool StandardOutputClosed() {
  pollfd streams[2] = {{1, 0, 0}, {2, 0, 0}};
  if (poll(streams, 2, 0) <= 0) return false;
  for (const pollfd& stream : streams)
    if (stream.revents & (POLLERR | POLLHUP)) return true;
  return false;
}

bool OutputWatch::TakeClosed() {
  if (m_told || !StandardOutputClosed()) return false;
  m_told = true;
  return true;
}

}  // namespace platform::posix
