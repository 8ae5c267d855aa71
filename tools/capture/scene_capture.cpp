#include "scene_capture.hpp"

#include <GL/gl.h>

#include <algorithm>

#include "platform/platform.hpp"
#include "shell/scene_app.hpp"
#include "shell/scene_wnd.hpp"

SceneCapture::SceneCapture(int width, int height) : m_width(width), m_height(height) {
  platform::Init(platform::InitOptions{.switchDisplay = false});
  m_window = new CSceneWnd(SceneWndOptions{&m_clock, /*playMusic=*/false});
  m_created = CreateSceneWindow(*m_window, width, height) != FALSE;
}

SceneCapture::~SceneCapture() { delete m_window; }

void SceneCapture::Run(const std::vector<double>& deltas, bool keepLastFrame) {
  for (std::size_t k = 0; k < deltas.size(); ++k) {
    if (keepLastFrame && k + 1 == deltas.size())
      SetBeforeSwapObserver([this] { ReadBackBuffer(); });
    m_clock.Advance(deltas[k]);
    m_window->Tick();
    // Off screen a swap draws nothing: llvmpipe would queue every frame's
    // commands until its buffers fill, hundreds of MB on a long run. Each
    // frame is drawn before the next one starts.
    glFinish();
  }
  SetBeforeSwapObserver(nullptr);
}

void SceneCapture::ReadBackBuffer() {
  std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(m_width) * m_height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  m_frame.resize(bottomUp.size());
  const std::size_t rowBytes = static_cast<std::size_t>(m_width) * 3;
  for (int row = 0; row < m_height; ++row)
    std::copy_n(&bottomUp[(m_height - 1 - row) * rowBytes], rowBytes, &m_frame[row * rowBytes]);
}
