#include "platform/posix/standard_output.hpp"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>

namespace platform::posix {
namespace {
// A pipe without readers reports POLLERR on its writing end, a socket whose
// peer has gone POLLHUP; neither needs anything written to find out.
bool StandardOutputClosed() {
  pollfd streams[2] = {{1, 0, 0}, {2, 0, 0}};
  if (poll(streams, 2, 0) <= 0) return false;
  for (const pollfd& stream : streams)
    if (stream.revents & (POLLERR | POLLHUP)) return true;
  return false;
}
}  // namespace

void HoldStandardStreams() {
  std::signal(SIGPIPE, SIG_IGN);
  for (int stream = 0; stream <= 2; ++stream) {
    if (fcntl(stream, F_GETFD) != -1) continue;
    // The lowest free descriptor is this one, since the lower ones are open.
    const int held = open("/dev/null", O_RDWR);
    if (held > 2) close(held);
  }
}

bool OutputWatch::TakeClosed() {
  if (m_told || !StandardOutputClosed()) return false;
  m_told = true;
  return true;
}

}  // namespace platform::posix
