// The saver's command line, as XScreenSaver's hacks take theirs: which
// window to draw the scene in, how long to rest between frames, whether to
// show the frame rate. Every option has a one-dash and a two-dash form
// (-root, --root).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.hpp"

struct SaverOptions {
  platform::SaverWindow window = platform::SaverWindow::Own;
  unsigned long windowId = 0;  // Given only
  std::string outputName;      // Background, Overlay: the one output (empty: all)
  // The rest after each frame, in microseconds, as a hack's -delay: 30000
  // is the default of XScreenSaver's own OpenGL hacks.
  long delayMicroseconds = 30000;
  bool showFrameRate = false;  // -fps
  bool help = false;           // -help: print the usage and end
};

// Picks the window, first match wins: `--window-id ID` (decimal or 0x hex);
// `--background` or `--overlay` (the later of the two); the
// XSCREENSAVER_WINDOW value `screensaverWindow` (nullptr when unset);
// `--root`; else a window of its own. On a bad argument returns nothing and
// sets `error` to one readable sentence.
std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              const char* screensaverWindow, std::string& error);

// The usage text --help prints, ending in a newline.
std::string SaverUsage();
