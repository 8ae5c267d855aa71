// Showing the 640 x 480 design in proportion on an output of another shape.
//
// Where the window covers an output it cannot switch (the Wayland paths),
// the frame is drawn into an off-screen framebuffer the size of the largest
// centred 4:3 area of the drawable; each swap copies it there and clears the
// bars around it to black. The frame code sees a 4:3 client area and never
// learns about the bars.
//
// Does:
//  - show the design in proportion on the Wayland paths, where the context
//    has GL_ARB_framebuffer_object
// Does not:
//  - letterbox on a real X server, where the display is switched instead
//  - letterbox without framebuffer objects: the frame then fills the window
#pragma once

struct SDL_Window;

namespace platform {

struct Area {
  int x = 0;  // from the left edge
  int y = 0;  // from the bottom edge, as OpenGL counts
  int width = 0;
  int height = 0;

  bool operator==(const Area&) const = default;
};

// The largest area of the design's 4:3 shape centred in width x height.
Area DesignArea(int width, int height);

// With the window's context current: draw into an off-screen framebuffer
// from now on. False (and nothing changed) where the driver has none.
bool StartLetterbox(SDL_Window* window);
bool LetterboxActive();
// The size frames are drawn at from now on: the design area of the
// drawable. The framebuffer follows it before the next frame is drawn.
Area FitLetterbox(SDL_Window* window);
// Around the swap: copy the frame into the centre and blacken the bars,
// then draw into the framebuffer again.
void PresentLetterbox(SDL_Window* window);
void ResumeLetterbox();
// The context is going away, and its framebuffer with it.
void ForgetLetterbox();

}  // namespace platform
