#include "platform/wayland/egl_context.hpp"

namespace platform::wayland {

EglContext::~EglContext() {
  if (m_display == EGL_NO_DISPLAY) return;
  eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (m_context != EGL_NO_CONTEXT) eglDestroyContext(m_display, m_context);
  eglTerminate(m_display);
}

// As the window's drawable is asked for elsewhere: 8-bit colour without
// alpha, a 16-bit depth buffer.
bool EglContext::Start(wl_display* display, std::string& error) {
  const auto fail = [&error](const char* why) {
    error = why;
    return false;
  };
  m_display = eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
  if (m_display == EGL_NO_DISPLAY || !eglInitialize(m_display, nullptr, nullptr) ||
      !eglBindAPI(EGL_OPENGL_API))
    return fail("no OpenGL on this Wayland display (EGL)");
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                               EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                               EGL_DEPTH_SIZE, 16, EGL_NONE};
  EGLint count = 0;
  if (!eglChooseConfig(m_display, attributes, &m_config, 1, &count) || count < 1)
    return fail("no OpenGL configuration for window surfaces (EGL)");
  // No version asked for: the newest compatibility context, immediate mode included.
  m_context = eglCreateContext(m_display, m_config, EGL_NO_CONTEXT, nullptr);
  if (m_context == EGL_NO_CONTEXT ||
      !eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context))
    return fail("cannot create an OpenGL context (EGL)");
  return true;
}

void EglContext::DestroySurface(EGLSurface surface) {
  if (surface == EGL_NO_SURFACE) return;
  if (eglGetCurrentSurface(EGL_DRAW) == surface)
    eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context);
  eglDestroySurface(m_display, surface);
}

// Interval 0: a covered output's swap would otherwise wait for a frame
// callback that never comes, and hold up every other output.
bool EglContext::MakeCurrent(EGLSurface surface) {
  if (!eglMakeCurrent(m_display, surface, surface, m_context)) return false;
  eglSwapInterval(m_display, 0);
  return true;
}

}  // namespace platform::wayland
