#include "framework/gl_calls.hpp"

namespace platform {

int ChoosePixelFormat(Window* window, const PixelFormatRequest&) { return window ? 1 : 0; }

bool SetPixelFormat(Window* window, int index, const PixelFormatRequest& request) {
  return index == 1 && OpenSurface(window, request);
}

GLContextHandle CreateGLContext(Window* window) {
  return window && HasCurrentGLContext() ? window : nullptr;
}

bool MakeGLContextCurrent(Window* window, GLContextHandle context) {
  if (!window && !context) return true;
  return context == window && HasCurrentGLContext();
}

void DeleteGLContext(GLContextHandle context) { CloseSurface(static_cast<Window*>(context)); }

}  // namespace platform
