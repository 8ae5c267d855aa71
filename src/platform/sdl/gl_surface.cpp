#include "platform/platform.hpp"

#include <SDL.h>
#include <SDL_syswm.h>

#include <vector>

#include "platform/sdl/state.hpp"

namespace platform {
namespace {
void ApplyAttributes(const SurfaceFormat& request) {
  for (const SDL_GLattr channel : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE})
    SDL_GL_SetAttribute(channel, request.colorBits / 3);
  for (const SDL_GLattr channel :
       {SDL_GL_ACCUM_RED_SIZE, SDL_GL_ACCUM_GREEN_SIZE, SDL_GL_ACCUM_BLUE_SIZE})
    SDL_GL_SetAttribute(channel, request.accumBits / 3);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.alphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencilBits);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, request.doubleBuffer ? 1 : 0);
  // OpenGL 1.1 and no profile: SDL then makes the context the old way
  // (glXCreateContext, EGL without version attributes), which every driver
  // takes, OpenGL 1.x and indirect GLX included, and which gives the newest
  // compatibility context where there is more.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
}

// The request first, then step by step closer to what a modest X server
// has (a depth-16 server without Composite offers no 8-bit channels):
// 16 colour bits, then no depth buffer either.
std::vector<SurfaceFormat> RequestAndFallbacks(const SurfaceFormat& request) {
  std::vector<SurfaceFormat> steps{request};
  SurfaceFormat step = request;
  if (step.colorBits > 16) {
    step.colorBits = 16;
    steps.push_back(step);
  }
  if (step.depthBits > 0) {
    step.depthBits = 0;
    steps.push_back(step);
  }
  return steps;
}

// Makes the window's SDL window for OpenGL with the closest format the
// server has.
bool MakeGLWindow(Window& window, const SurfaceFormat& request) {
  for (const SurfaceFormat& step : RequestAndFallbacks(request)) {
    ApplyAttributes(step);
    if (MakeSdlWindow(window, SDL_WINDOW_OPENGL)) return true;
  }
  return false;
}

// Draws into the handed-over window as it is: SDL takes its visual for the
// context, whatever the request. A drop-target mark SDL puts on would
// outlive the program on the root window: it goes again.
bool MakeHandedOverSdlWindow(PlatformState& state, Window& window, const SurfaceFormat& request) {
  ApplyAttributes(request);
  SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
  const bool marks = state.policy.quirks.sdlMarksHandedWindowForDrops;
  if (marks) state.handed.NoteDragAndDropMark();
  window.sdl = SDL_CreateWindowFrom(reinterpret_cast<const void*>(state.handed.Id()));
  if (!window.sdl) {
    SetLastError(std::string("cannot draw into the window (") + SDL_GetError() + ")");
    return false;
  }
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  const bool x11 = SDL_GetWindowWMInfo(window.sdl, &info) && info.subsystem == SDL_SYSWM_X11;
  if (marks) state.handed.RemoveAddedDragAndDropMark(x11 ? info.info.x11.display : nullptr);
  return true;
}

// With the new context current: where the policy asks for it, frames are
// drawn in proportion from the first one on.
void StartLetterbox(PlatformState& state, const Window& window) {
  if (!state.policy.letterboxes) return;
  const auto [width, height] = DrawableSize(window);
  state.letterbox.Start(SDL_GL_GetProcAddress, width, height);
}

bool CanHaveGL(const Window* window) {
  PlatformState& state = State();
  return window && state.video.Up() && state.gl.Load(state.lastError);
}

bool TakeFormat(Window& window, const SurfaceFormat& format) {
  PlatformState& state = State();
  if (window.hasPixelFormat) return format == state.gl.grantedRequest;
  // The drawable's configuration is fixed when an SDL window is made, so
  // the window is made only now.
  const bool made = window.handedOver ? MakeHandedOverSdlWindow(state, window, format)
                                      : MakeGLWindow(window, format);
  if (!made) return false;
  window.hasPixelFormat = true;
  state.gl.grantedRequest = format;
  return true;
}

// The refreshes per second of the display the window is on, as SDL has it
// now; 60 where it does not say.
int DisplayRefreshRate(const Window& window) {
  constexpr int kUsualRate = 60;
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(window.sdl);
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0)
    return kUsualRate;
  return mode.refresh_rate;
}

// With the new context current: 0 where its swaps wait for the refresh,
// else the rate the caller waits for itself.
int PacedRate(const DesktopPolicy& policy, const Window& window) {
  // -1 where the driver has no swap control (llvmpipe on GLX, for one).
  const bool swapsWaitForRefresh = policy.pacesToRefresh && SDL_GL_SetSwapInterval(1) == 0;
  return swapsWaitForRefresh ? 0 : DisplayRefreshRate(window);
}

Surface* CreateContext(Window& window, int& pacedRate) {
  // SDL makes the new context current on the window.
  SDL_GLContext context = SDL_GL_CreateContext(window.sdl);
  if (!context) {
    SetLastError(std::string("cannot create an OpenGL context (") + SDL_GetError() + ")");
    return nullptr;
  }
  PlatformState& state = State();
  StartLetterbox(state, window);
  pacedRate = PacedRate(state.policy, window);
  return static_cast<Surface*>(context);
}
}  // namespace

GLLibrary::~GLLibrary() {
  if (m_loaded) SDL_GL_UnloadLibrary();
}

bool GLLibrary::Load(std::string& error) {
  if (!m_loaded && SDL_GL_LoadLibrary(nullptr) != 0) {
    error = std::string("no OpenGL available (") + SDL_GetError() + ")";
    return false;
  }
  m_loaded = true;
  return true;
}

// The surface is SDL's context itself, which outlives its window.
OpenedSurface OpenSurface(Window* window, const SurfaceFormat& format) {
  OpenedSurface opened;
  if (CanHaveGL(window) && TakeFormat(*window, format))
    opened.surface = CreateContext(*window, opened.pacedRate);
  if (window) opened.area = ClientAreaOf(*window);
  return opened;
}

void CloseSurface(Surface* opened) {
  if (!opened) return;
  SDL_GL_MakeCurrent(nullptr, nullptr);
  // Its calls go with it.
  State().letterbox = surface::Letterbox{};
  SDL_GL_DeleteContext(opened);
}

bool Present(Window* window) {
  if (!window || !window->sdl) return false;
  PlatformState& state = State();
  const auto [width, height] = DrawableSize(*window);
  state.letterbox.Present(width, height);
  SDL_GL_SwapWindow(window->sdl);
  return true;
}

}  // namespace platform
