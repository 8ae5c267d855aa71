#include "platform/platform.hpp"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>

#include "platform/sdl/state.hpp"
#include "platform/x11/fullscreen_hint.hpp"

namespace platform {
namespace {
void ApplyIcon(Window& window) {
  if (!window.icon || !window.icon->pixels) return;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(window.icon->pixels), window.icon->width, window.icon->height,
      32, window.icon->width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(window.sdl, surface);
  SDL_FreeSurface(surface);
}

// The window record stands for the window the policy names, at its size;
// its SDL window is made when the pixel format is set.
bool HandOver(PlatformState& state, Window& window) {
  const InitOptions& options = state.options;
  const unsigned long id = options.saverWindow == SaverWindow::Given ? options.saverWindowId : 0;
  if (!state.handed.Open(state.xServer.Display(), id, state.lastError)) return false;
  window.handedOver = true;
  window.x = window.y = 0;
  window.width = state.handed.Width();
  window.height = state.handed.Height();
  return true;
}

// The X window behind an SDL window; false on another driver.
bool X11WindowOf(SDL_Window* window, SDL_SysWMinfo& info) {
  SDL_VERSION(&info.version);
  return SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

// A window that covers the switched display loses its fixed size and is
// stamped with the launch's time before it is mapped, so that a window
// manager sizes it to the monitor and gives it the focus...
void PrepareCovering(Window& window) {
  SDL_SysWMinfo info;
  if (X11WindowOf(window.sdl, info))
    window.launchTime = x11::PrepareToCoverItsMonitor(info.info.x11.display, info.info.x11.window);
}

// ...and, once mapped, asked to cover its monitor and be the active window,
// so that the manager shows it above its panels and docks, undecorated.
void RequestCovering(const Window& window) {
  SDL_SysWMinfo info;
  if (X11WindowOf(window.sdl, info))
    x11::RequestCoveringItsMonitor(info.info.x11.display, info.info.x11.window,
                                   window.launchTime);
}

// The rectangle that holds every display: the X screen.
SDL_Rect WholeScreen() {
  SDL_Rect screen{0, 0, 0, 0};
  for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0) SDL_UnionRect(&screen, &bounds, &screen);
  }
  return screen;
}

// The display whose bounds hold the compositor's focus, or -1.
int FocusedDisplay(const Host& host) {
  const SDL_Point focus{host.focusX, host.focusY};
  for (int i = 0; host.knowsFocus && i < SDL_GetNumVideoDisplays(); ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) == 0 && SDL_PointInRect(&focus, &bounds)) return i;
  }
  return -1;
}

// Where the SDL window is made: on the focused output's display where the
// policy asks for it and the compositor tells the focus, else as recorded.
SDL_Point PlaceOf(const Window& window, const DesktopPolicy& policy) {
  const bool onFocus = policy.fullscreen == Fullscreen::Desktop &&
                       policy.quirks.sdlWaylandFullscreensOnItsDisplay;
  const int display = onFocus ? FocusedDisplay(State().host) : -1;
  if (display < 0) return {window.x, window.y};
  const int place = static_cast<int>(SDL_WINDOWPOS_UNDEFINED_DISPLAY(display));
  return {place, place};
}

// The desktop window covers the screen and is typed as the desktop, a type
// SDL gives only when the window is made.
void PrepareDesktopBackground(Window& window) {
  const SDL_Rect screen = WholeScreen();
  window.x = screen.x;
  window.y = screen.y;
  window.width = screen.w;
  window.height = screen.h;
  SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DESKTOP");
}

void MapWindow(Window* window) {
  // Another program's window is shown, and stacked, by that program.
  if (!window || window->handedOver || (!window->sdl && !MakeSdlWindow(*window, 0))) return;
  const DesktopPolicy& policy = State().policy;
  const bool covers =
      policy.fullscreen == Fullscreen::CoverSwitchedOutput && window->coversSwitchedDisplay;
  if (covers) PrepareCovering(*window);
  // No mode is switched there: the window covers the output it opens on,
  // and the design is shown in proportion inside it.
  if (policy.fullscreen == Fullscreen::Desktop && policy.quirks.fullscreenWhenShown)
    SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowWindow(window->sdl);  // returns once the window is mapped
  if (covers) RequestCovering(*window);
}
}  // namespace

bool MakeSdlWindow(Window& window, Uint32 flags) {
  if (window.sdl) return false;
  const DesktopPolicy& policy = State().policy;
  // Letterboxed, the drawable gets the output's own pixels, scaled or not.
  if (policy.letterboxes) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
  if (policy.fullscreen == Fullscreen::Resizable)
    flags |= SDL_WINDOW_RESIZABLE;
  else if (!policy.quirks.decoratedUntilFullscreen)
    flags |= SDL_WINDOW_BORDERLESS;
  if (policy.fullscreen == Fullscreen::Desktop && policy.quirks.fullscreenAtCreation)
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (policy.fullscreen == Fullscreen::DesktopBackground) PrepareDesktopBackground(window);
  const SDL_Point place = PlaceOf(window, policy);
  window.sdl = SDL_CreateWindow(window.title.c_str(), place.x, place.y, window.width,
                                window.height, SDL_WINDOW_HIDDEN | flags);
  if (!window.sdl) {
    SetLastError(std::string("cannot create the window (") + SDL_GetError() + ")");
    return false;
  }
  ApplyIcon(window);
  return true;
}

WindowRegistry::~WindowRegistry() {
  for (Window* window : m_windows) {
    if (window->sdl) SDL_DestroyWindow(window->sdl);
    window->sdl = nullptr;
  }
}

void WindowRegistry::Remove(Window* window) {
  m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), window), m_windows.end());
}

Window* WindowRegistry::Find(Uint32 sdlWindowId) const {
  for (Window* window : m_windows)
    if (window->sdl && SDL_GetWindowID(window->sdl) == sdlWindowId) return window;
  return nullptr;
}

Window* WindowRegistry::HandedOver() const {
  for (Window* window : m_windows)
    if (window->handedOver) return window;
  return nullptr;
}

// Rectangles are relative to the switched output (a second monitor to its
// left moves it off the root window's origin); without a switch, as given.
Window* OpenWindow(const WindowDesc& desc) {
  PlatformState& state = State();
  if (!state.video.Up()) {
    if (state.lastError.empty()) state.lastError = "the platform layer was not started";
    return nullptr;
  }
  auto* window = new Window{nullptr, desc.title, desc.x, desc.y, desc.width, desc.height, desc.icon};
  if (state.policy.fullscreen == Fullscreen::HandedOver && !HandOver(state, *window)) {
    delete window;
    return nullptr;
  }
  if (const auto area = state.display.SwitchedArea()) {
    window->x += area->x;
    window->y += area->y;
    window->coversSwitchedDisplay = desc.x == 0 && desc.y == 0 && desc.width == area->width &&
                                    desc.height == area->height;
  }
  state.windows.Add(window);
  return window;
}

void CloseWindow(Window* window) {
  if (!window) return;
  State().windows.Remove(window);
  if (window->sdl) SDL_DestroyWindow(window->sdl);
  delete window;
}

void RequestWindow(Window* window, WindowRequest request) {
  using enum WindowRequest;
  if (request == Show) return MapWindow(window);
  if (request == HideCursor || request == ShowCursor) {
    if (State().video.Up()) SDL_ShowCursor(request == ShowCursor ? SDL_ENABLE : SDL_DISABLE);
  } else if (window && window->sdl && !window->handedOver) {
    if (request == Raise) SDL_RaiseWindow(window->sdl);
    if (request == Focus) SDL_SetWindowInputFocus(window->sdl);
  }
}

std::pair<int, int> DrawableSize(const Window& window) {
  auto size = std::pair{window.width, window.height};
  if (window.sdl && !window.handedOver)
    SDL_GL_GetDrawableSize(window.sdl, &size.first, &size.second);
  return size;
}

ClientArea ClientAreaOf(const Window& window) {
  ClientArea area{0, 0, window.width, window.height};
  if (!window.sdl) return area;
  // Letterboxed, the frame is drawn at the size of the design area, inset.
  if (State().letterbox.Active()) {
    const auto [width, height] = DrawableSize(window);
    const surface::Area design = surface::DesignArea(width, height);
    return {design.x, design.y, design.width, design.height, true};
  }
  if (!window.handedOver) SDL_GetWindowSize(window.sdl, &area.width, &area.height);
  return area;
}

}  // namespace platform
