// Showing the 640 x 480 design in proportion on a surface of another shape:
// the frame code sees a 4:3 client area and draws straight into the largest
// centred 4:3 area of the drawable, through the viewport; each swap clears
// the bars around it to black. No framebuffer, no copy per frame.
//
// Does:
//  - plain OpenGL 1.0, with the context current
// Does not:
//  - decide where to letterbox (the desktop policy does)
#pragma once

#include <GL/gl.h>

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
  // Letterboxes from now on (once started, again does nothing); false, with
  // nothing changed, where the context lacks the calls or the drawable has no pixels.
  bool Start(GLProcLoader load, int drawableWidth, int drawableHeight);
  bool Active() const { return m_gl.clear != nullptr; }
  void FitViewport();  // the viewport at the design area, for frame code that sets none
  void Resize(int drawableWidth, int drawableHeight);
  void Present(int drawableWidth, int drawableHeight);  // before the swap: the bars blackened

 private:
  void ClearBars(int drawableWidth, int drawableHeight);

  // The few OpenGL 1.0 calls needed, looked up once per context: the
  // platform layer links no GL itself.
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
  struct Calls {
#define WINTERHAIN_DECLARE_CALL(type, member, name) type member = nullptr;
    WINTERHAIN_LETTERBOX_GL10_CALLS(WINTERHAIN_DECLARE_CALL)
#undef WINTERHAIN_DECLARE_CALL
  };

  Area m_area;  // the design area of the drawable
  Calls m_gl;   // all set once started
};

}  // namespace platform::surface
