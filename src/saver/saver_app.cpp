#include "saver/saver_app.hpp"

#include <cstdio>

#include "framework/clock_source.hpp"
#include "framework/gl_calls.hpp"
#include "platform/platform.hpp"
#include "saver/frame_pacer.hpp"
#include "saver/frame_rate_meter.hpp"
#include "saver/frame_rate_overlay.hpp"
#include "shell/idle_loop.hpp"
#include "shell/scene_wnd.hpp"

// A window of its own opens at the design's size; a handed-over window
// keeps the size it has. The program that runs the saver keeps the focus.
BOOL CSaverApp::InitInstance() {
  m_pSceneWnd = new CSceneWnd(SceneWndOptions{&SystemClock(), /*playMusic=*/false});
  m_pMainWnd = m_pSceneWnd;
  if (!CreateSceneWindow(*m_pSceneWnd, CSceneWnd::kWidth, CSceneWnd::kHeight, "Winterhain")) {
    std::fprintf(stderr, "winterhain: cannot start: %s\n", platform::LastError().c_str());
    return FALSE;
  }
  m_pSceneWnd->ShowWindow(SW_SHOW);
  return TRUE;
}

int CSaverApp::Run() {
  // Where the swap waits for the refresh itself, the rate is 0: the pacer
  // has no refresh to wait for. A rest ends once the window is asked to
  // close (a termination signal asks every window).
  FramePacer pacer(CurrentGLContextPacedRate(),
                   std::chrono::microseconds(m_options.delayMicroseconds), [] {
                     MSG close;
                     return PeekMessage(&close, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != FALSE;
                   });
  // The rate is drawn over each finished frame, just before its swap.
  FrameRateMeter meter;
  if (m_options.showFrameRate)
    SetBeforeSwapObserver([&meter] {
      meter.Frame(FrameRateMeter::Clock::now());
      DrawFrameRate(meter.Rate());
    });
  RunIdleLoop([this] { return PumpMessage(); },
              [this, &pacer] {
                m_pSceneWnd->Tick();
                pacer.AfterFrame();
              });
  SetBeforeSwapObserver(nullptr);
  return ExitInstance();
}
