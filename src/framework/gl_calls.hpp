// The pixel-format and rendering-context calls in the shape the program's
// code is written against, over the platform's window surface: the one
// pixel format is index 1 (0: no OpenGL to be had), and a context handle
// stands for the surface opened on its window.
#pragma once

#include "platform/platform.hpp"

namespace platform {

using PixelFormatRequest = SurfaceFormat;
using GLContextHandle = void*;

// 1 for any window (0 for none); whether OpenGL can be had shows when the
// format is set.
int ChoosePixelFormat(Window* window, const PixelFormatRequest& request);
// Opens the window's surface in that format, its context made current.
// A second, different request fails.
bool SetPixelFormat(Window* window, int index, const PixelFormatRequest& request);
// The handle of the context the window's surface holds; nullptr before
// its pixel format is set.
GLContextHandle CreateGLContext(Window* window);
// The surface's context is current from the start; with (nullptr, nullptr)
// it stays bound until deleted, which unbinds it.
bool MakeGLContextCurrent(Window* window, GLContextHandle context);
void DeleteGLContext(GLContextHandle context);

}  // namespace platform
