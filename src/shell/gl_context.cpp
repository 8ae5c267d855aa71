#include "shell/gl_context.hpp"

const PixelFormatRequest CGLContext::s_pixelFormat{
    /*doubleBuffer=*/true, /*colorBits=*/24, /*alphaBits=*/0, /*depthBits=*/16,
    /*stencilBits=*/0,     /*accumBits=*/0};

CGLContext::CGLContext() = default;

CGLContext::~CGLContext() { Release(); }

bool CGLContext::Create(HDC& dc) {
  if (!dc) return false;
  if (!SetupPixelFormat(dc)) return false;
  m_hRC = CreateGLContext(dc);
  MakeGLContextCurrent(dc, m_hRC);
  return true;
}

bool CGLContext::SetupPixelFormat(HDC& dc) {
  const int index = ChoosePixelFormat(dc, s_pixelFormat);
  return SetPixelFormat(dc, index, s_pixelFormat);
}

void CGLContext::Release() {
  if (!m_hRC) return;
  MakeGLContextCurrent(nullptr, nullptr);
  DeleteGLContext(m_hRC);
  m_hRC = nullptr;
}
