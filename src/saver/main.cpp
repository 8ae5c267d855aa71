// winterhain-saver: the scene as a screensaver, in a window another program
// hands over (XScreenSaver, mate-screensaver), on the root window, or in a
// window of its own; or behind every window, or above them all until a key,
// on a Wayland desktop's layers (options: SaverUsage). Reads Data/ from the
// working directory, as the program does.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/winapp.hpp"
#include "platform/platform.hpp"
#include "saver/layer_scene.hpp"
#include "saver/saver_app.hpp"
#include "saver/saver_options.hpp"

namespace {
// On Wayland the background and the overlay are layer-shell surfaces; on
// X11 the background is a desktop window, and there is no overlay.
bool OnLayers(const SaverOptions& options) {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return options.window == platform::SaverWindow::Overlay ||
         (options.window == platform::SaverWindow::Background && wayland && *wayland);
}
}  // namespace

int main(int argc, char** argv) {
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
  // The process is set up here, before anything opens a descriptor, as in
  // the program. Ended by SIGTERM (the screensaver's way of ending a hack),
  // it cleans up like any way out, then dies of the signal in Shutdown, as
  // a hack does.
  if (OnLayers(*options)) {
    platform::Init({.saverWindow = options->window, .ownProcess = true, .video = false});
    const int status = RunSceneOnLayers(*options);
    platform::Shutdown();
    return status;
  }
  theSaverApp.SetOptions(*options);
  // The platform starts with the screensaver's window; the framework's own
  // start-up then finds it started. Its window is all that is seen of it.
  platform::Init({.saverWindow = options->window,
                  .saverWindowId = options->windowId,
                  .onScreenOnly = true,
                  .ownProcess = true});
  return AfxWinMain();
}
