// The saver's command line: which window to draw the scene in.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.hpp"

struct SaverOptions {
  platform::SaverWindow window = platform::SaverWindow::Own;
  unsigned long windowId = 0;  // Given only
};

// Picks the window, first match wins: `--window-id ID` (decimal or 0x hex);
// the XSCREENSAVER_WINDOW value `screensaverWindow` (nullptr when unset);
// `--root`; else a window of its own. On a bad argument returns nothing and
// sets `error` to one readable sentence.
std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              const char* screensaverWindow, std::string& error);
