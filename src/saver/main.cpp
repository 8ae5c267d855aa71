// winterhain-saver: the scene as a screensaver, in a window another program
// hands over (XScreenSaver, mate-screensaver), on the root window, or in a
// window of its own.
//
//   winterhain-saver [--window-id ID] [--root]
//
// Reads Data/ from the working directory, as the program does.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/winapp.hpp"
#include "platform/platform.hpp"
#include "saver/saver_options.hpp"

int main(int argc, char** argv) {
  // Before anything opens a descriptor, as in the program.
  platform::HoldStandardStreams();
  platform::BindChildrenToProgram();
  platform::EndOnLostDisplayConnection();
  std::string error;
  const auto options = ParseSaverOptions(std::vector<std::string>(argv + 1, argv + argc),
                                         std::getenv("XSCREENSAVER_WINDOW"), error);
  if (!options) {
    std::fprintf(stderr, "winterhain: %s\n", error.c_str());
    return 2;
  }
  // The platform starts with the screensaver's window; the framework's own
  // start-up then finds it started. Its window is all that is seen of it.
  platform::Init({.saverWindow = options->window,
                  .saverWindowId = options->windowId,
                  .onScreenOnly = true});
  return AfxWinMain();
}
