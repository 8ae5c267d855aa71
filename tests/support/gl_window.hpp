// An off-screen window with the program's OpenGL context current, for tests
// that call the scene's GL code directly.
#pragma once

#include <GL/gl.h>

#include "framework/afxwin.hpp"
#include "platform/platform.hpp"
#include "shell/gl_context.hpp"

class GlWindow {
 public:
  GlWindow(int width = 64, int height = 64) {
    platform::Init();
    const char* cls = AfxRegisterWndClass(CS_OWNDC, nullptr, GetStockObject(BLACK_BRUSH));
    m_window.CreateEx(0, cls, "gl test", WS_POPUP, CRect(0, 0, width, height), nullptr, 0);
    m_dc = new CClientDC(&m_window);
    m_context.Create(m_dc->m_hDC);
    glViewport(0, 0, width, height);
  }
  ~GlWindow() {
    delete m_dc;
    m_context.Release();
    m_window.DestroyWindow();
  }
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;

 private:
  CWnd m_window;
  CClientDC* m_dc = nullptr;
  CGLContext m_context;
};
