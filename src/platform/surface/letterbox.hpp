// Showing the 640 x 480 design in proportion on a surface of another shape.
//
// Where the window covers an output it cannot switch, the frame is drawn
// into an off-screen framebuffer the size of the largest centred 4:3 area
// of the drawable; each swap copies it there and clears the bars around it
// to black. The frame code sees a 4:3 client area and never learns about
// the bars.
//
// Does:
//  - plain OpenGL, with the context current, where it has
//    GL_ARB_framebuffer_object
// Does not:
//  - decide where to letterbox (the desktop policy does)
//  - letterbox without framebuffer objects: the frame then fills the window
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace platform::surface {

struct Area {
  int x = 0;  // from the left edge
  int y = 0;  // from the bottom edge, as OpenGL counts
  int width = 0;
  int height = 0;

  bool operator==(const Area&) const = default;
};

// The largest area of the design's 4:3 shape centred in width x height.
Area DesignArea(int width, int height);

// Looks up an OpenGL entry point of the current context by name.
using GLProcLoader = void* (*)(const char* name);

class Letterbox {
 public:
  // Draw into an off-screen framebuffer from now on, sized for a drawable
  // of drawableWidth x drawableHeight. False (and nothing changed) where the
  // context has no framebuffer objects.
  bool Start(GLProcLoader load, bool hasFramebufferObjects, int drawableWidth,
             int drawableHeight);
  bool Active() const { return m_active; }
  // The drawable changed size: the framebuffer follows before the next frame.
  void Resize(int drawableWidth, int drawableHeight);
  // Around the swap: copy the frame into the centre and blacken the bars,
  // then draw into the framebuffer again.
  void Present(int drawableWidth, int drawableHeight);
  void Resume();

 private:
  bool LoadCalls(GLProcLoader load);
  bool MakeFramebuffer(const Area& area);
  bool SizeStorage(int width, int height);
  void ClearBars(const Area& area, int drawableWidth, int drawableHeight);

  // The few calls needed, looked up once per context: the program's own
  // drawing uses OpenGL 1.1 only, and the platform layer links no GL itself.
  // OpenGL 1.0, and the framebuffer calls of GL_ARB_framebuffer_object.
#define WINTERHAIN_LETTERBOX_GL_CALLS(X)                                          \
  X(decltype(&glIsEnabled), isEnabled, "glIsEnabled")                             \
  X(decltype(&glEnable), enable, "glEnable")                                      \
  X(decltype(&glDisable), disable, "glDisable")                                   \
  X(PFNGLGENFRAMEBUFFERSPROC, genFramebuffers, "glGenFramebuffers")               \
  X(PFNGLBINDFRAMEBUFFERPROC, bindFramebuffer, "glBindFramebuffer")               \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, framebufferRenderbuffer, "glFramebufferRenderbuffer") \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, checkFramebufferStatus, "glCheckFramebufferStatus")    \
  X(PFNGLGENRENDERBUFFERSPROC, genRenderbuffers, "glGenRenderbuffers")            \
  X(PFNGLBINDRENDERBUFFERPROC, bindRenderbuffer, "glBindRenderbuffer")            \
  X(PFNGLRENDERBUFFERSTORAGEPROC, renderbufferStorage, "glRenderbufferStorage")   \
  X(decltype(&glGetIntegerv), getIntegerv, "glGetIntegerv")                       \
  X(decltype(&glGetFloatv), getFloatv, "glGetFloatv")                             \
  X(decltype(&glScissor), scissor, "glScissor")                                   \
  X(decltype(&glClearColor), clearColor, "glClearColor")                          \
  X(decltype(&glClear), clear, "glClear")                                         \
  X(PFNGLBLITFRAMEBUFFERPROC, blitFramebuffer, "glBlitFramebuffer")
  struct Calls {
#define WINTERHAIN_DECLARE_CALL(type, member, name) type member = nullptr;
    WINTERHAIN_LETTERBOX_GL_CALLS(WINTERHAIN_DECLARE_CALL)
#undef WINTERHAIN_DECLARE_CALL
  };

  bool m_active = false;
  Calls m_gl;
  GLuint m_framebuffer = 0;
  GLuint m_color = 0;
  GLuint m_depth = 0;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace platform::surface
