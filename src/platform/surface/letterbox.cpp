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

bool Letterbox::LoadCalls(GLProcLoader load, bool framebuffers) {
  Calls gl;
#define WINTERHAIN_LOAD_CALL(type, member, name) \
  if (!(gl.member = reinterpret_cast<type>(load(name)))) return false;
  WINTERHAIN_LETTERBOX_GL10_CALLS(WINTERHAIN_LOAD_CALL)
  if (framebuffers) {
    WINTERHAIN_LETTERBOX_FBO_CALLS(WINTERHAIN_LOAD_CALL)
  }
#undef WINTERHAIN_LOAD_CALL
  m_gl = gl;
  return true;
}

// Colour without alpha and a 16-bit depth buffer, as the window's own
// drawable is requested.
bool Letterbox::SizeStorage(int width, int height) {
  m_gl.bindRenderbuffer(GL_RENDERBUFFER, m_color);
  m_gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
  m_gl.bindRenderbuffer(GL_RENDERBUFFER, m_depth);
  m_gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  m_gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  m_width = width;
  m_height = height;
  m_gl.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
  return m_gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool Letterbox::MakeFramebuffer(const Area& area) {
  m_gl.genFramebuffers(1, &m_framebuffer);
  m_gl.genRenderbuffers(1, &m_color);
  m_gl.genRenderbuffers(1, &m_depth);
  m_gl.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
  m_gl.bindRenderbuffer(GL_RENDERBUFFER, m_color);
  m_gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_color);
  m_gl.bindRenderbuffer(GL_RENDERBUFFER, m_depth);
  m_gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, m_depth);
  if (SizeStorage(area.width, area.height)) return true;
  m_gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  return false;
}

// Each bar is cleared inside a scissor box of its own (glClear: OpenGL
// 1.0); the scissor test, its box and the clear colour belong to the frame
// code and are put back.
void Letterbox::ClearBars(const Area& area, int drawableWidth, int drawableHeight) {
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

bool Letterbox::Start(GLProcLoader load, bool hasFramebufferObjects, int drawableWidth,
                      int drawableHeight) {
  if (m_active) return true;
  // A library may hand out entry points its context lacks: the context
  // must offer the extension too.
  if (!hasFramebufferObjects || !load || !LoadCalls(load, true)) return false;
  const Area area = DesignArea(drawableWidth, drawableHeight);
  if (area.width == 0 || !MakeFramebuffer(area)) {
    *this = Letterbox{};
    return false;
  }
  m_active = true;
  return true;
}

bool Letterbox::StartInPlace(GLProcLoader load, int drawableWidth, int drawableHeight) {
  if (m_active) return true;
  const Area area = DesignArea(drawableWidth, drawableHeight);
  if (!load || area.width == 0 || !LoadCalls(load, false)) return false;
  m_active = m_inPlace = true;
  m_area = area;
  return true;
}

void Letterbox::BeginFrame() {
  if (m_active && m_inPlace) m_gl.viewport(m_area.x, m_area.y, m_area.width, m_area.height);
}

void Letterbox::Resize(int drawableWidth, int drawableHeight) {
  const Area area = DesignArea(drawableWidth, drawableHeight);
  if (!m_active || area.width == 0) return;
  if (m_inPlace)
    m_area = area;
  else if (area.width != m_width || area.height != m_height)
    SizeStorage(area.width, area.height);
}

void Letterbox::Present(int drawableWidth, int drawableHeight) {
  if (!m_active) return;
  if (m_inPlace) {
    ClearBars(m_area, drawableWidth, drawableHeight);
    return;
  }
  const Area area = DesignArea(drawableWidth, drawableHeight);
  m_gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  m_gl.bindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
  ClearBars(area, drawableWidth, drawableHeight);
  // Until the frame code has taken a new size, the last frame is scaled.
  const bool same = area.width == m_width && area.height == m_height;
  m_gl.blitFramebuffer(0, 0, m_width, m_height, area.x, area.y, area.x + area.width,
                       area.y + area.height, GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
  m_gl.bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

void Letterbox::Resume() {
  if (m_active && !m_inPlace) m_gl.bindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
}

}  // namespace platform::surface
