#include "platform/posix/session_bus.hpp"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace platform::posix {
namespace {
constexpr const char* kAddressVariable = "DBUS_SESSION_BUS_ADDRESS";

// Where libdbus looks before it would launch a bus: the address variable,
// then the socket "bus" in the user's runtime folder.
bool SessionBusKnown() {
  const char* address = std::getenv(kAddressVariable);
  if (address && *address) return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat socket;
  return runtime && *runtime && stat((std::string(runtime) + "/bus").c_str(), &socket) == 0 &&
         S_ISSOCK(socket.st_mode);
}
}  // namespace

bool StartWithoutBusLaunch(bool (*start)()) {
  // An address of no known kind: libdbus fails at once and launches nothing.
  const bool held = !SessionBusKnown() && setenv(kAddressVariable, "disabled:", 1) == 0;
  const bool started = start();
  if (held) unsetenv(kAddressVariable);
  return started;
}

}  // namespace platform::posix
