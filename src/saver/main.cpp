// winterhain-saver: the scene as a screensaver, in a window another program
// hands over (XScreenSaver, mate-screensaver), on the root window, or in a
// window of its own.
//
//   winterhain-saver [--root | --window-id ID] [--delay MICROSECONDS] [--fps]
//
// Reads Data/ from the working directory, as the program does.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/winapp.hpp"
#include "platform/events.hpp"
#include "platform/platform.hpp"
#include "saver/saver_app.hpp"
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
  if (options->help) {
    std::fputs(SaverUsage().c_str(), stdout);
    return 0;
  }
  theSaverApp.SetOptions(*options);
  // The platform starts with the screensaver's window; the framework's own
  // start-up then finds it started. Its window is all that is seen of it.
  platform::Init({.saverWindow = options->window,
                  .saverWindowId = options->windowId,
                  .onScreenOnly = true});
  const int status = AfxWinMain();
  // Ended by SIGTERM (the screensaver's way of ending a hack), it cleans up
  // like any way out, then dies of the signal, as a hack does.
  if (const int signal = platform::TerminationSignal()) platform::DieOfSignal(signal);
  return status;
}
