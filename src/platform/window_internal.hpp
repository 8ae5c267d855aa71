// What the platform's own files share about a window.
//
// Does:
//  - the window record behind platform::Window, for the platform files only
// Does not:
//  - belong to any caller above the platform layer
#pragma once

#include <SDL.h>

#include <string>

#include "platform/window.hpp"

namespace platform {

struct Window {
  SDL_Window* sdl = nullptr;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
  const Icon* icon = nullptr;
  bool hasPixelFormat = false;
  bool coversSwitchedDisplay = false;
};

// Makes (or remakes) the SDL window; `flags` adds to hidden + borderless.
bool MakeSdlWindow(Window& window, Uint32 flags);
// The window whose SDL id this is, or nullptr.
Window* FindWindow(Uint32 sdlWindowId);

}  // namespace platform
