// The window's OpenGL rendering context.
#pragma once

#include "framework/afx_types.hpp"
#include "framework/gl_calls.hpp"

class CGLContext {
 public:
  CGLContext();
  virtual ~CGLContext();  // Release()

  // Gives the device context the program's pixel format, creates the
  // rendering context and makes it current. True when the pixel format was
  // set and creation was attempted (the context itself may still be null).
  bool Create(HDC& dc);
  bool SetupPixelFormat(HDC& dc);
  // Unbinds and deletes the context, if there is one.
  void Release();

 private:
  HGLRC m_hRC = nullptr;
  // Double-buffered RGBA, 24 colour bits, 16 depth bits; no alpha, stencil
  // or accumulation buffers.
  static const PixelFormatRequest s_pixelFormat;
};
