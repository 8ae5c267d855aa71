#include "platform/x11/server_probe.hpp"

#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform::x11 {
namespace {
// libxcb (under Xlib too) writes the reason a server refused a connection
// (its access control) straight to descriptor 2. For the probe that is an
// answer, not a line for the user: descriptor 2 is /dev/null meanwhile.
// Video starts before the program has any other thread that could write.
class StderrMuted {
 public:
  StderrMuted() : m_saved(dup(STDERR_FILENO)) {
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~StderrMuted() {
    if (m_saved < 0) return;
    dup2(m_saved, STDERR_FILENO);
    close(m_saved);
  }
  StderrMuted(const StderrMuted&) = delete;
  StderrMuted& operator=(const StderrMuted&) = delete;

 private:
  int m_saved;
};

// A connection of xcb's: it needs no Xlib state, and the RandR question
// is one request.
xcb_connection_t* Connect(bool ask) {
  if (!ask) return nullptr;
  xcb_connection_t* connection = [] {
    StderrMuted muted;
    return xcb_connect(nullptr, nullptr);
  }();
  if (!xcb_connection_has_error(connection)) return connection;
  xcb_disconnect(connection);
  return nullptr;
}

bool HasExtension(xcb_connection_t* connection, const char* name) {
  const xcb_query_extension_cookie_t cookie =
      xcb_query_extension(connection, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_query_extension_reply_t* reply = xcb_query_extension_reply(connection, cookie, nullptr);
  const bool present = reply && reply->present;
  std::free(reply);
  return present;
}
}  // namespace

ServerProbe::ServerProbe(bool ask) : m_connection(Connect(ask)) {
  m_randr = m_connection && HasExtension(m_connection, "RANDR");
}

ServerProbe::~ServerProbe() {
  if (m_connection) xcb_disconnect(m_connection);
}

}  // namespace platform::x11
