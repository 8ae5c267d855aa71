// The record behind platform::Window, and the layer's list of them.
//
// Does:
//  - make a record's SDL window once, hidden and borderless
// Does not:
//  - belong to any caller above the platform layer
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/platform.hpp"

namespace platform {

struct Window {
  // Made once: when the pixel format is known, or plain when a window that
  // never took one is first shown.
  SDL_Window* sdl = nullptr;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
  const Icon* icon = nullptr;
  bool hasPixelFormat = false;
  bool coversSwitchedDisplay = false;
  // The server time stamped on a covering window as its launch's user
  // activity, which its activation request carries (0 until stamped).
  unsigned long launchTime = 0;
  // Another program's window: `width` and `height` follow its size as
  // read from X, which SDL does not follow.
  bool handedOver = false;
  bool hidden = false;  // minimised or unmapped by the window manager
};

// Makes the record's SDL window; `flags` adds to hidden and borderless (or
// resizable, framed by the window manager, where the policy says). False
// when it cannot be made or the record already has one.
bool MakeSdlWindow(Window& window, Uint32 flags);

// The size of the window's drawable in pixels, as OpenGL draws into it.
void GetDrawableSize(const Window& window, int& width, int& height);

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
  // The window whose SDL id this is, or nullptr.
  Window* Find(Uint32 sdlWindowId) const;
  // The window another program handed over, or nullptr.
  Window* HandedOver() const;
  const std::vector<Window*>& All() const { return m_windows; }

 private:
  std::vector<Window*> m_windows;
};

}  // namespace platform
