#include "platform/letterbox.hpp"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>

namespace platform {
namespace {
// The few calls needed, looked up once per context: the program's own
// drawing uses OpenGL 1.1 only, and the platform layer links no GL itself.
struct FramebufferCalls {
  GLboolean(APIENTRY* isEnabled)(GLenum) = nullptr;
  void(APIENTRY* enable)(GLenum) = nullptr;
  void(APIENTRY* disable)(GLenum) = nullptr;
  PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
  PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
  PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;
  PFNGLCLEARBUFFERFVPROC clearBufferfv = nullptr;
};

struct Letterbox {
  bool active = false;
  FramebufferCalls gl;
  GLuint framebuffer = 0;
  GLuint color = 0;
  GLuint depth = 0;
  int width = 0;
  int height = 0;
};

Letterbox g_box;

template <typename Call>
bool Load(Call& call, const char* name) {
  call = reinterpret_cast<Call>(SDL_GL_GetProcAddress(name));
  return call != nullptr;
}

bool LoadCalls(FramebufferCalls& gl) {
  // Core names since OpenGL 3.0 and in the extension; the context must
  // offer it, since a library may hand out entry points its context lacks.
  if (!SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object")) return false;
  return Load(gl.isEnabled, "glIsEnabled") && Load(gl.enable, "glEnable") &&
         Load(gl.disable, "glDisable") && Load(gl.genFramebuffers, "glGenFramebuffers") &&
         Load(gl.bindFramebuffer, "glBindFramebuffer") &&
         Load(gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
         Load(gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
         Load(gl.genRenderbuffers, "glGenRenderbuffers") &&
         Load(gl.bindRenderbuffer, "glBindRenderbuffer") &&
         Load(gl.renderbufferStorage, "glRenderbufferStorage") &&
         Load(gl.blitFramebuffer, "glBlitFramebuffer") && Load(gl.clearBufferfv, "glClearBufferfv");
}

// Colour without alpha and a 16-bit depth buffer, as the window's own
// drawable is requested.
bool SizeStorage(int width, int height) {
  const FramebufferCalls& gl = g_box.gl;
  gl.bindRenderbuffer(GL_RENDERBUFFER, g_box.color);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
  gl.bindRenderbuffer(GL_RENDERBUFFER, g_box.depth);
  gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
  gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
  g_box.width = width;
  g_box.height = height;
  gl.bindFramebuffer(GL_FRAMEBUFFER, g_box.framebuffer);
  return gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool MakeFramebuffer(const Area& area) {
  const FramebufferCalls& gl = g_box.gl;
  gl.genFramebuffers(1, &g_box.framebuffer);
  gl.genRenderbuffers(1, &g_box.color);
  gl.genRenderbuffers(1, &g_box.depth);
  gl.bindFramebuffer(GL_FRAMEBUFFER, g_box.framebuffer);
  gl.bindRenderbuffer(GL_RENDERBUFFER, g_box.color);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, g_box.color);
  gl.bindRenderbuffer(GL_RENDERBUFFER, g_box.depth);
  gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, g_box.depth);
  if (SizeStorage(area.width, area.height)) return true;
  gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
  return false;
}

Area DrawableArea(SDL_Window* window) {
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(window, &width, &height);
  return DesignArea(width, height);
}

// The bars are cleared with the scissor test off and the clear colour left
// alone: both belong to the frame code's state.
void ClearToBlack() {
  const FramebufferCalls& gl = g_box.gl;
  const GLboolean scissor = gl.isEnabled(GL_SCISSOR_TEST);
  if (scissor) gl.disable(GL_SCISSOR_TEST);
  const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  gl.clearBufferfv(GL_COLOR, 0, black);
  if (scissor) gl.enable(GL_SCISSOR_TEST);
}
}  // namespace

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

bool StartLetterbox(SDL_Window* window) {
  if (g_box.active) return true;
  Letterbox box;
  if (!window || !LoadCalls(box.gl)) return false;
  g_box = box;
  const Area area = DrawableArea(window);
  if (area.width == 0 || !MakeFramebuffer(area)) {
    g_box = Letterbox{};
    return false;
  }
  g_box.active = true;
  return true;
}

bool LetterboxActive() { return g_box.active; }

Area FitLetterbox(SDL_Window* window) {
  const Area area = DrawableArea(window);
  if (g_box.active && area.width > 0 && (area.width != g_box.width || area.height != g_box.height))
    SizeStorage(area.width, area.height);
  return area;
}

void PresentLetterbox(SDL_Window* window) {
  if (!g_box.active) return;
  const Area area = DrawableArea(window);
  const FramebufferCalls& gl = g_box.gl;
  gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, g_box.framebuffer);
  ClearToBlack();
  // Until the frame code has taken a new size, the last frame is scaled.
  const bool same = area.width == g_box.width && area.height == g_box.height;
  gl.blitFramebuffer(0, 0, g_box.width, g_box.height, area.x, area.y, area.x + area.width,
                     area.y + area.height, GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
  gl.bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

void ResumeLetterbox() {
  if (g_box.active) g_box.gl.bindFramebuffer(GL_FRAMEBUFFER, g_box.framebuffer);
}

void ForgetLetterbox() { g_box = Letterbox{}; }

}  // namespace platform
