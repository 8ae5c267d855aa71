#include "platform/surface/letterbox.hpp"

#include <algorithm>

namespace platform::surface {

Area DesignArea(int width, int height) {
  if (width <= 0 || height <= 0) return Area{};
  // Compare width : height with 4 : 3 in integers, so exact 4:3 sizes stay whole.
  Area area;
  if (static_cast<long long>(width) * 3 >= static_cast<long long>(height) * 4) {
    area.height = height;
    area.width = std::max(1, static_cast<int>(static_cast<long long>(height) * 4 / 3));
  } else {
    area.width = width;
    area.height = std::max(1, static_cast<int>(static_cast<long long>(width) * 3 / 4));
  }
  area.x = (width - area.width) / 2;
  area.y = (height - area.height) / 2;
  return area;
}

// Each bar is cleared inside a scissor box of its own (glClear: OpenGL
// 1.0); the scissor test, its box and the clear colour belong to the frame
// code and are put back.
void Letterbox::ClearBars(int drawableWidth, int drawableHeight) {
  const Area& area = m_area;
  const GLboolean scissor = m_gl.isEnabled(GL_SCISSOR_TEST);
  GLint box[4];
  GLfloat colour[4];
  m_gl.getIntegerv(GL_SCISSOR_BOX, box);
  m_gl.getFloatv(GL_COLOR_CLEAR_VALUE, colour);
  m_gl.enable(GL_SCISSOR_TEST);
  m_gl.clearColor(0.0f, 0.0f, 0.0f, 1.0f);
  const int right = area.x + area.width, top = area.y + area.height;
  const Area bars[] = {{0, 0, area.x, drawableHeight},
                       {right, 0, drawableWidth - right, drawableHeight},
                       {0, 0, drawableWidth, area.y},
                       {0, top, drawableWidth, drawableHeight - top}};
  for (const Area& bar : bars) {
    if (bar.width <= 0 || bar.height <= 0) continue;
    m_gl.scissor(bar.x, bar.y, bar.width, bar.height);
    m_gl.clear(GL_COLOR_BUFFER_BIT);
  }
  m_gl.scissor(box[0], box[1], box[2], box[3]);
  m_gl.clearColor(colour[0], colour[1], colour[2], colour[3]);
  if (!scissor) m_gl.disable(GL_SCISSOR_TEST);
}

bool Letterbox::Start(GLProcLoader load, int drawableWidth, int drawableHeight) {
  if (Active()) return true;
  const Area area = DesignArea(drawableWidth, drawableHeight);
  if (!load || area.width == 0) return false;
  Calls gl;
#define WINTERHAIN_LOAD_CALL(type, member, name) \
  if (!(gl.member = reinterpret_cast<type>(load(name)))) return false;
  WINTERHAIN_LETTERBOX_GL10_CALLS(WINTERHAIN_LOAD_CALL)
#undef WINTERHAIN_LOAD_CALL
  m_gl = gl;
  m_area = area;
  return true;
}

void Letterbox::FitViewport() {
  if (Active()) m_gl.viewport(m_area.x, m_area.y, m_area.width, m_area.height);
}

void Letterbox::Resize(int drawableWidth, int drawableHeight) {
  const Area area = DesignArea(drawableWidth, drawableHeight);
  if (Active() && area.width != 0) m_area = area;
}

void Letterbox::Present(int drawableWidth, int drawableHeight) {
  // An area that fills the drawable (a 4:3 output or window) has no bars.
  const bool bars = m_area.width != drawableWidth || m_area.height != drawableHeight;
  if (Active() && bars) ClearBars(drawableWidth, drawableHeight);
}

}  // namespace platform::surface
