#include "framework/gl_calls.hpp"

#include <map>

namespace platform {
namespace {
// Surfaces SetPixelFormat opened, until CreateGLContext hands them out.
std::map<Window*, Surface*> g_opened;
}  // namespace

int ChoosePixelFormat(Window* window, const PixelFormatRequest&) { return window ? 1 : 0; }

bool SetPixelFormat(Window* window, int index, const PixelFormatRequest& request) {
  if (index != 1) return false;
  if (g_opened.count(window)) return true;
  Surface* surface = OpenSurface(window, request);
  if (surface) g_opened[window] = surface;
  return surface != nullptr;
}

GLContextHandle CreateGLContext(Window* window) {
  auto opened = g_opened.extract(window);
  return opened ? opened.mapped() : nullptr;
}

bool MakeGLContextCurrent(Window*, GLContextHandle context) {
  return !context || HasCurrentGLContext();
}

void DeleteGLContext(GLContextHandle context) { CloseSurface(context); }

}  // namespace platform
