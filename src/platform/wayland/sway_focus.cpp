#include "platform/wayland/sway_focus.hpp"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform::wayland {
namespace {
// Every message, either way: the magic, then the payload's length and the
// message's type, in the host's byte order.
struct [[gnu::packed]] Header {
  char magic[6] = {'i', '3', '-', 'i', 'p', 'c'};
  std::uint32_t length = 0;
  std::uint32_t type = 0;
};
static_assert(sizeof(Header) == 14);
constexpr std::uint32_t kGetWorkspaces = 1;

int Connect() {
  const char* path = std::getenv("SWAYSOCK");
  if (!path || !*path) path = std::getenv("I3SOCK");
  sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
  if (!path || !*path || std::strlen(path) >= sizeof address.sun_path) return -1;
  std::strcpy(address.sun_path, path);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  // A compositor that does not answer costs the start a second, not more.
  const timeval deadline{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &deadline, sizeof deadline);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &deadline, sizeof deadline);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  close(fd);
  return -1;
}

bool ReadAll(int fd, void* into, std::size_t size) {
  return recv(fd, into, size, MSG_WAITALL) == static_cast<ssize_t>(size);
}

// The reply to GET_WORKSPACES, or "" on any failure.
std::string AskWorkspaces(int fd) {
  Header header{.type = kGetWorkspaces};
  if (write(fd, &header, sizeof header) != static_cast<ssize_t>(sizeof header) ||
      !ReadAll(fd, &header, sizeof header) || header.length > (1u << 24))
    return "";
  std::string reply(header.length, '\0');
  return ReadAll(fd, reply.data(), reply.size()) ? reply : "";
}

// Where the string starting at `at` (its opening quote) ends, past its
// closing quote.
std::size_t SkipString(const std::string& json, std::size_t at) {
  for (++at; at < json.size(); ++at) {
    if (json[at] == '\\') ++at;
    else if (json[at] == '"') return at + 1;
  }
  return at;
}

// Reads the workspaces' array: the keys "focused" and "rect" of each
// workspace object (depth 2), and the corner of the focused one.
bool FocusedCorner(const std::string& json, int& focusX, int& focusY) {
  int depth = 0;
  bool focused = false;
  int x = 0, y = 0;
  for (std::size_t at = 0; at < json.size();) {
    const char c = json[at];
    if (c == '"') {
      const std::size_t end = SkipString(json, at);
      const std::string key = json.substr(at + 1, end - at - 2);
      at = end;
      const std::size_t colon = json.find_first_not_of(" \n\t", at);
      if (depth != 2 || colon == std::string::npos || json[colon] != ':') continue;
      const std::string rest = json.substr(colon + 1, 64);
      if (key == "focused") focused = rest.find_first_not_of(" \n\t") == rest.find("true");
      if (key == "rect") std::sscanf(rest.c_str(), " { \"x\" : %d , \"y\" : %d", &x, &y);
      continue;
    }
    if (c == '{' || c == '[') ++depth;
    if (c == '}' || c == ']') --depth;
    if (c == '}' && depth == 1 && focused) {
      focusX = x;
      focusY = y;
      return true;
    }
    if (c == '}' && depth == 1) x = y = 0;
    ++at;
  }
  return false;
}
}  // namespace

bool FindSwayFocus(int& x, int& y) {
  const int fd = Connect();
  if (fd < 0) return false;
  const std::string workspaces = AskWorkspaces(fd);
  close(fd);
  return FocusedCorner(workspaces, x, y);
}

}  // namespace platform::wayland
