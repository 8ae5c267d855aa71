#include "platform/gl_surface.hpp"

#include <SDL.h>

#include <vector>

#include "platform/desktop_path.hpp"
#include "platform/letterbox.hpp"
#include "platform/platform.hpp"
#include "platform/window_internal.hpp"

namespace platform {
namespace {
struct GLSurfaceState {
  std::function<void()> beforeSwap;
  PixelFormatRequest grantedRequest;
  // The GL library stays loaded from the first pixel-format query until
  // Shutdown: SDL would otherwise unload it with the last OpenGL window,
  // while the context (which outlives the window) still needs it, and
  // loading it again is slow.
  bool libraryLoaded = false;
};
GLSurfaceState g_surface;

void ApplyAttributes(const PixelFormatRequest& request) {
  const int channel = request.colorBits / 3;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.alphaBits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencilBits);
  const int accumChannel = request.accumBits / 3;
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accumChannel);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, request.doubleBuffer ? 1 : 0);
  // Immediate-mode drawing needs the compatibility profile.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// The request first, then step by step closer to what a modest X server
// has (a depth-16 server without Composite offers no 8-bit channels):
// 16 colour bits, then no depth buffer either.
std::vector<PixelFormatRequest> RequestAndFallbacks(const PixelFormatRequest& request) {
  std::vector<PixelFormatRequest> steps{request};
  PixelFormatRequest step = request;
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

// Makes the window again for OpenGL with the closest format the server has.
bool MakeGLWindow(Window& window, const PixelFormatRequest& request) {
  for (const PixelFormatRequest& step : RequestAndFallbacks(request)) {
    ApplyAttributes(step);
    if (MakeSdlWindow(window, SDL_WINDOW_OPENGL)) return true;
  }
  return false;
}
}  // namespace

int ChoosePixelFormat(Window* window, const PixelFormatRequest&) {
  if (!window || !window->sdl) return 0;
  if (!g_surface.libraryLoaded && SDL_GL_LoadLibrary(nullptr) != 0) {
    SetLastError(std::string("no OpenGL available (") + SDL_GetError() + ")");
    return 0;
  }
  g_surface.libraryLoaded = true;
  return 1;
}

bool SetPixelFormat(Window* window, int index, const PixelFormatRequest& request) {
  if (!window || index != 1) return false;
  if (window->hasPixelFormat) return request == g_surface.grantedRequest;
  // The drawable's configuration is fixed when an SDL window is made, so the
  // hidden window is made again, this time for OpenGL.
  if (!MakeGLWindow(*window, request)) return false;
  window->hasPixelFormat = true;
  g_surface.grantedRequest = request;
  return true;
}

GLContextHandle CreateGLContext(Window* window) {
  if (!window || !window->sdl || !window->hasPixelFormat) return nullptr;
  SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
  if (!context) SetLastError(std::string("cannot create an OpenGL context (") + SDL_GetError() + ")");
  return context;
}

bool MakeGLContextCurrent(Window* window, GLContextHandle context) {
  SDL_Window* sdl = window ? window->sdl : nullptr;
  const bool current = SDL_GL_MakeCurrent(sdl, context) == 0;
  // A window covering a Wayland output shows the design in proportion.
  if (current && sdl && context && DesktopIsWayland()) StartLetterbox(sdl);
  return current;
}

void DeleteGLContext(GLContextHandle context) {
  if (!context) return;
  ForgetLetterbox();
  SDL_GL_DeleteContext(context);
}

bool HasCurrentGLContext() { return SDL_GL_GetCurrentContext() != nullptr; }

bool SwapWindowBuffers(Window* window) {
  if (!window || !window->sdl) return false;
  if (g_surface.beforeSwap) g_surface.beforeSwap();
  PresentLetterbox(window->sdl);
  SDL_GL_SwapWindow(window->sdl);
  ResumeLetterbox();
  return true;
}

void SetBeforeSwapObserver(std::function<void()> observer) {
  g_surface.beforeSwap = std::move(observer);
}

void ReleaseGLLibrary() {
  if (g_surface.libraryLoaded) SDL_GL_UnloadLibrary();
  g_surface.libraryLoaded = false;
  g_surface.grantedRequest = PixelFormatRequest{};
}

}  // namespace platform
