// Showing the 640 x 480 design in proportion on a surface of another shape.
//
// Where the window covers an output it cannot switch, the frame is drawn
// into an off-screen framebuffer the size of the largest centred 4:3 area
// of the drawable; each swap copies it there and clears the bars around it
// to black. The frame code sees a 4:3 client area and never learns about
// the bars.
//
// In place, the frame is drawn straight into that area of the drawable
// instead, through the viewport, and each swap only clears the bars: no
// framebuffer and no copy per frame, for callers that point the viewport
// at the area before each frame (BeginFrame), after the frame code has set
// its own.
//
// Does:
//  - plain OpenGL, with the context current, where it has
//    GL_ARB_framebuffer_object (OpenGL 1.0 in place)
// Does not:
//  - decide where to letterbox, or in place (the desktop policy does)
//  - letterbox without framebuffer objects, unless in place: the frame
//    then fills the window
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
  // Draw into the design area of the drawable itself from now on; false
  // (and nothing changed) where the context lacks the calls.
  bool StartInPlace(GLProcLoader load, int drawableWidth, int drawableHeight);
  bool Active() const { return m_active; }
  // In place, before each frame is drawn: the viewport is the design area.
  void BeginFrame();
  // The drawable changed size: the framebuffer follows before the next frame.
  void Resize(int drawableWidth, int drawableHeight);
  // Around the swap: copy the frame into the centre and blacken the bars,
  // then draw into the framebuffer again.
  void Present(int drawableWidth, int drawableHeight);
  void Resume();

 private:
  // OpenGL 1.0's calls, and the framebuffer ones unless drawn in place.
  bool LoadCalls(GLProcLoader load, bool framebuffers);
  bool MakeFramebuffer(const Area& area);
  bool SizeStorage(int width, int height);
  void ClearBars(const Area& area, int drawableWidth, int drawableHeight);

  // The few calls needed, looked up once per context: the program's own
  // drawing uses OpenGL 1.1 only, and the platform layer links no GL itself.
  // OpenGL 1.0's, for the bars (and the viewport, in place):
#define WINTERHAIN_LETTERBOX_GL10_CALLS(X)                                        \
  X(decltype(&glIsEnabled), isEnabled, "glIsEnabled")                             \
  X(decltype(&glEnable), enable, "glEnable")                                      \
  X(decltype(&glDisable), disable, "glDisable")                                   \
  X(decltype(&glViewport), viewport, "glViewport")                                \
  X(decltype(&glGetIntegerv), getIntegerv, "glGetIntegerv")                       \
  X(decltype(&glGetFloatv), getFloatv, "glGetFloatv")                             \
  X(decltype(&glScissor), scissor, "glScissor")                                   \
  X(decltype(&glClearColor), clearColor, "glClearColor")                          \
  X(decltype(&glClear), clear, "glClear")
  // and GL_ARB_framebuffer_object's, for drawing off the drawable:
#define WINTERHAIN_LETTERBOX_FBO_CALLS(X)                                         \
  X(PFNGLGENFRAMEBUFFERSPROC, genFramebuffers, "glGenFramebuffers")               \
  X(PFNGLBINDFRAMEBUFFERPROC, bindFramebuffer, "glBindFramebuffer")               \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, framebufferRenderbuffer, "glFramebufferRenderbuffer") \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, checkFramebufferStatus, "glCheckFramebufferStatus")    \
  X(PFNGLGENRENDERBUFFERSPROC, genRenderbuffers, "glGenRenderbuffers")            \
  X(PFNGLBINDRENDERBUFFERPROC, bindRenderbuffer, "glBindRenderbuffer")            \
  X(PFNGLRENDERBUFFERSTORAGEPROC, renderbufferStorage, "glRenderbufferStorage")   \
  X(PFNGLBLITFRAMEBUFFERPROC, blitFramebuffer, "glBlitFramebuffer")
  struct Calls {
#define WINTERHAIN_DECLARE_CALL(type, member, name) type member = nullptr;
    WINTERHAIN_LETTERBOX_GL10_CALLS(WINTERHAIN_DECLARE_CALL)
    WINTERHAIN_LETTERBOX_FBO_CALLS(WINTERHAIN_DECLARE_CALL)
#undef WINTERHAIN_DECLARE_CALL
  };

  bool m_active = false;
  bool m_inPlace = false;
  Area m_area;  // in place: the design area of the drawable
  Calls m_gl;
  GLuint m_framebuffer = 0;
  GLuint m_color = 0;
  GLuint m_depth = 0;
  int m_width = 0;
  int m_height = 0;
};

}  // namespace platform::surface
