// The pixel-format, rendering-context and buffer-swap calls in the shape
// the program's code is written against, over the platform's surfaces: the
// one pixel format is index 1 (0: no window), setting it opens the
// window's surface, and the context handle is that surface, which the
// next CreateGLContext on the window hands out. A context is current from
// its creation until it is deleted.
#pragma once

#include <functional>

#include "framework/afx_types.hpp"
#include "platform/platform.hpp"

using PixelFormatRequest = platform::SurfaceFormat;
using HGLRC = platform::Surface*;

int ChoosePixelFormat(HDC dc, const PixelFormatRequest& request);
// False when there is no OpenGL for the window (see platform::LastError())
// or it has a different format; a second time before CreateGLContext, true.
bool SetPixelFormat(HDC dc, int index, const PixelFormatRequest& request);
// The context of the window's surface; nullptr before its pixel format is
// set, or asked a second time.
HGLRC CreateGLContext(HDC dc);
// True for the context that is current; a null context leaves the one
// bound as it is until it is deleted, which unbinds it, but no longer
// counts as current.
bool MakeGLContextCurrent(HDC dc, HGLRC context);
void DeleteGLContext(HGLRC context);
// Whether a context made here is current and not deleted.
bool HasCurrentGLContext();
// Frames per second the caller paces its frames on the current context to
// itself, as its surface said when it opened (see platform::OpenSurface): 0
// where each swap waits for the display's refresh, and with no current
// context.
int CurrentGLContextPacedRate();

// Shows the frame, first calling the observer below while the back buffer
// still holds it.
bool SwapWindowBuffers(HDC dc);
// Called right before every swap; the capture tool reads its pictures
// there, the saver draws its frame rate over them.
void SetBeforeSwapObserver(std::function<void()> observer);
