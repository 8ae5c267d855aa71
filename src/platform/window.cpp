#include "platform/window.hpp"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/desktop_path.hpp"
#include "platform/display_mode.hpp"
#include "platform/letterbox.hpp"
#include "platform/platform.hpp"
#include "platform/window_internal.hpp"
#include "platform/x11_fullscreen_hint.hpp"

namespace platform {
namespace {
struct WindowRegistry {
  std::vector<Window*> windows;  // every window made and not yet destroyed
};
WindowRegistry g_registry;

void ApplyIcon(Window& window) {
  if (!window.icon || !window.icon->pixels) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(window.icon->pixels), window.icon->width, window.icon->height,
      32, window.icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(window.sdl, surface);
  SDL_FreeSurface(surface);
}
}  // namespace

bool MakeSdlWindow(Window& window, Uint32 flags) {
  if (window.sdl) SDL_DestroyWindow(window.sdl);
  // On a Wayland output the drawable gets the output's own pixels, scaled or not.
  if (DesktopIsWayland()) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
  window.sdl = SDL_CreateWindow(window.title.c_str(), window.x, window.y, window.width,
                                window.height, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | flags);
  if (!window.sdl) {
    SetLastError(std::string("cannot create the window (") + SDL_GetError() + ")");
    return false;
  }
  ApplyIcon(window);
  return true;
}

Window* FindWindow(Uint32 sdlWindowId) {
  for (Window* window : g_registry.windows)
    if (window->sdl && SDL_GetWindowID(window->sdl) == sdlWindowId) return window;
  return nullptr;
}

// Window rectangles are given relative to the switched output, which need
// not sit at the root window's origin (a second monitor to its left), so
// the window lands on the display that was switched. Without a switch they
// stay as given: the top-left of the unchanged display.
Window* CreateSystemWindow(const WindowDesc& desc) {
  if (!InitVideo()) return nullptr;
  auto* window = new Window{nullptr, desc.title, desc.x, desc.y, desc.width, desc.height, desc.icon};
  DisplayArea area;
  if (GetSwitchedArea(area)) {
    window->x += area.x;
    window->y += area.y;
    window->coversSwitchedDisplay = desc.x == 0 && desc.y == 0 && desc.width == area.width &&
                                    desc.height == area.height;
  }
  if (!MakeSdlWindow(*window, 0)) {
    delete window;
    return nullptr;
  }
  g_registry.windows.push_back(window);
  return window;
}

void DestroySystemWindow(Window* window) {
  if (!window) return;
  std::vector<Window*>& windows = g_registry.windows;
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
  if (window->sdl) SDL_DestroyWindow(window->sdl);
  delete window;
}

void ShowSystemWindow(Window* window) {
  if (!window || !window->sdl) return;
  // A window that covers the switched display is marked as covering it, so
  // that a window manager shows it above its panels and docks.
  if (window->coversSwitchedDisplay) MarkCoveringItsMonitor(window->sdl);
  // No mode is switched on a Wayland desktop: the window covers the output
  // it opens on, and the design is shown in proportion inside it.
  if (DesktopIsWayland()) SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowWindow(window->sdl);
}

void RaiseSystemWindow(Window* window) {
  if (window && window->sdl) SDL_RaiseWindow(window->sdl);
}

void FocusSystemWindow(Window* window) {
  if (window && window->sdl) SDL_SetWindowInputFocus(window->sdl);
}

void GetClientSize(const Window* window, int& width, int& height) {
  width = window ? window->width : 0;
  height = window ? window->height : 0;
  if (!window || !window->sdl) return;
  SDL_GetWindowSize(window->sdl, &width, &height);
  // Letterboxed, the frame is drawn at the size of the design area.
  if (!LetterboxActive()) return;
  const Area area = FitLetterbox(window->sdl);
  width = area.width;
  height = area.height;
}

void SetCursorVisible(bool visible) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace platform
