// The record behind platform::Window, and the layer's list of them.
//
// Does:
//  - make a record's SDL window once, hidden and borderless
// Does not:
//  - belong to any caller above the platform layer
#pragma once

#include <SDL.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.hpp"

namespace platform {

struct Window {
  // Made once: when the pixel format is known, or plain when first shown without one.
  SDL_Window* sdl = nullptr;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
  const Icon* icon = nullptr;
  bool hasPixelFormat = false;
  bool coversSwitchedDisplay = false;
  // The server time stamped on a covering window as its launch's user
  // activity, carried by its activation request (0 until stamped).
  unsigned long launchTime = 0;
  bool handedOver = false;  // another program's: the size read from X, as SDL does not follow it
  bool hidden = false;  // minimised or unmapped by the window manager
};

// `flags` add to hidden and borderless (or resizable, where the policy says).
// False when it cannot be made or the record already has one.
bool MakeSdlWindow(Window& window, Uint32 flags);

// Width and height in pixels, as OpenGL draws into it.
std::pair<int, int> DrawableSize(const Window& window);
// As the frame code sees it: the window's size as made, its SDL window's,
// or where the design is shown in proportion, its 4:3 area of the drawable.
ClientArea ClientAreaOf(const Window& window);

// Every window made and not yet destroyed. The records belong to their
// handles; the SDL windows still open go when the registry does.
class WindowRegistry {
 public:
  WindowRegistry() = default;
  ~WindowRegistry();
  WindowRegistry(const WindowRegistry&) = delete;
  WindowRegistry& operator=(const WindowRegistry&) = delete;

  void Add(Window* window) { m_windows.push_back(window); }
  void Remove(Window* window);
  Window* Find(Uint32 sdlWindowId) const;  // or nullptr
  Window* HandedOver() const;              // or nullptr
  const std::vector<Window*>& All() const { return m_windows; }

 private:
  std::vector<Window*> m_windows;
};

}  // namespace platform
