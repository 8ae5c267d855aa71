// The saver's command line: which window to draw the scene in.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class SaverHost {
  GivenWindow,  // a window another program made and handed over
  RootWindow,   // the whole screen's root window
  OwnWindow,    // a resizable window of the saver's own, for trying it out
};

struct SaverOptions {
  SaverHost host = SaverHost::OwnWindow;
  unsigned long windowId = 0;  // GivenWindow only
};

// Picks the window, first match wins: `--window-id ID` (decimal or 0x hex);
// the XSCREENSAVER_WINDOW value `screensaverWindow` (nullptr when unset);
// `--root`; else a window of its own. On a bad argument returns nothing and
// sets `error` to one readable sentence.
std::optional<SaverOptions> ParseSaverOptions(const std::vector<std::string>& args,
                                              const char* screensaverWindow, std::string& error);
