// The pixel-format and rendering-context calls in the shape the program's
// code is written against, over the platform's surfaces: the one pixel
// format is index 1 (0: no window), setting it opens the window's surface,
// and the context handle is that surface, which the next CreateGLContext
// on the window hands out.
#pragma once

#include "platform/platform.hpp"

namespace platform {

using PixelFormatRequest = SurfaceFormat;
using GLContextHandle = Surface*;

int ChoosePixelFormat(Window* window, const PixelFormatRequest& request);
// False when there is no OpenGL for the window (see LastError()) or it has
// a different format; a second time before CreateGLContext, true.
bool SetPixelFormat(Window* window, int index, const PixelFormatRequest& request);
// The context of the window's surface; nullptr before its pixel format is
// set, or asked a second time.
GLContextHandle CreateGLContext(Window* window);
// The surface's context is current from the start; with a null context
// it stays bound until deleted, which unbinds it.
bool MakeGLContextCurrent(Window* window, GLContextHandle context);
void DeleteGLContext(GLContextHandle context);

}  // namespace platform
