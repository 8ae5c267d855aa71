// OpenGL on a system window: pixel format, rendering context, buffer swap.
//
// Does:
//  - one pixel format per window, stepping down to 16 colour bits and then
//    no depth buffer where the server has nothing closer
//  - contexts asked for OpenGL 1.1 with no profile: any driver gives one,
//    and a newer one gives its compatibility context (immediate mode)
//  - a window another program handed over, with the visual it already has
// Does not:
//  - list or choose among formats: there is only index 1
//  - alpha in the accumulation buffer, or a second format for a window
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

struct Window;

// What a window's OpenGL drawable must offer. Zero bits mean "none".
struct PixelFormatRequest {
  bool doubleBuffer = true;
  int colorBits = 24;
  int alphaBits = 0;
  int depthBits = 16;
  int stencilBits = 0;
  int accumBits = 0;

  bool operator==(const PixelFormatRequest&) const = default;
};

using GLContextHandle = void*;

// Index of the configuration closest to the request (0: none); the window
// only offers one, so this is 1 whenever OpenGL can be had at all.
int ChoosePixelFormat(Window* window, const PixelFormatRequest& request);
// Gives the still-hidden window an OpenGL drawable of that format: the
// system window is made now, once. A window takes a pixel format once; a
// second, different request fails.
bool SetPixelFormat(Window* window, int index, const PixelFormatRequest& request);

// Makes the context current on the window; nullptr on failure (see
// LastError()). Where the desktop shows the design in proportion, frames
// drawn with it go into a 4:3 framebuffer from now on.
GLContextHandle CreateGLContext(Window* window);
// Binds the context to the window, or unbinds with (nullptr, nullptr).
bool MakeGLContextCurrent(Window* window, GLContextHandle context);
void DeleteGLContext(GLContextHandle context);
bool HasCurrentGLContext();

// Before each frame is drawn, after the frame code has taken its size:
// where the design is shown in proportion straight in the window (a
// screensaver's), points the current context's viewport at its 4:3 area.
void BeginFrame();
bool SwapWindowBuffers(Window* window);
// True when each swap waits for the display's next refresh: where the
// desktop policy paces frames and the driver took swap interval 1.
bool SwapWaitsForRefresh();
// Refreshes per second of the display the window shows on; 60 where the
// display does not say (Xvfb, for one).
int RefreshRate(Window* window);
// Called right before every swap while the back buffer still holds the
// finished frame; the capture tool reads its pictures there, the saver
// draws its frame rate over it.
void SetBeforeSwapObserver(std::function<void()> observer);

}  // namespace platform
