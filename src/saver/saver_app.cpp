#include "saver/saver_app.hpp"

#include <cstdio>

#include "platform/clock.hpp"
#include "platform/gl_surface.hpp"
#include "platform/platform.hpp"
#include "saver/frame_pacer.hpp"
#include "shell/idle_loop.hpp"
#include "shell/scene_wnd.hpp"

BEGIN_MESSAGE_MAP(CSaverApp, CSceneApp)
END_MESSAGE_MAP()

// A window of its own opens at the design's size; a handed-over window
// keeps the size it has. The program that runs the saver keeps the focus.
BOOL CSaverApp::InitInstance() {
  m_pSceneWnd = new CSceneWnd(SceneWndOptions{&platform::SystemClock(), /*playMusic=*/false});
  m_pMainWnd = m_pSceneWnd;
  if (!CreateSceneWindow(*m_pSceneWnd, CSceneWnd::kWidth, CSceneWnd::kHeight, "Winterhain")) {
    std::fprintf(stderr, "winterhain: cannot start: %s\n", platform::LastError().c_str());
    return FALSE;
  }
  m_pSceneWnd->ShowWindow(SW_SHOW);
  return TRUE;
}

int CSaverApp::Run() {
  // Where the swap waits for the refresh itself, the pacer has nothing to do.
  FramePacer pacer(platform::SwapWaitsForRefresh() ? 0 : platform::RefreshRate(m_pSceneWnd->m_hWnd));
  RunIdleLoop([this] { return PumpMessage(); },
              [this, &pacer] {
                m_pSceneWnd->Tick();
                pacer.AfterFrame();
              });
  return ExitInstance();
}
