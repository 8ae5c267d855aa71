// EGL on a Wayland connection: one OpenGL context (compatibility, for the
// frame code's OpenGL 1.1) and the window surfaces it draws into.
#pragma once

#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <string>

namespace platform::wayland {

class EglContext {
 public:
  ~EglContext();
  // Current without a surface from now on; false with `error` set.
  bool Start(wl_display* display, std::string& error);
  EGLSurface MakeSurface(wl_egl_window* window) {
    return eglCreateWindowSurface(m_display, m_config, reinterpret_cast<EGLNativeWindowType>(window),
                                  nullptr);
  }
  void DestroySurface(EGLSurface surface);
  // Current on the surface, its swaps never waiting for the compositor.
  bool MakeCurrent(EGLSurface surface);
  void Swap(EGLSurface surface) { eglSwapBuffers(m_display, surface); }

 private:
  EGLDisplay m_display = EGL_NO_DISPLAY;
  EGLConfig m_config = nullptr;
  EGLContext m_context = EGL_NO_CONTEXT;
};

// An OpenGL call of the current context by name.
inline void* LookUpGLCall(const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); }

}  // namespace platform::wayland
