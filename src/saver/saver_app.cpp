#include "saver/saver_app.hpp"

#include <cstdio>

#include "platform/clock.hpp"
#include "platform/gl_surface.hpp"
#include "platform/platform.hpp"
#include "res/resource.hpp"
#include "saver/frame_pacer.hpp"
#include "shell/idle_loop.hpp"
#include "shell/scene_wnd.hpp"

namespace {
// A window of its own opens at the design's size; a handed-over window
// keeps the size it has.
BOOL CreateSaverWindow(CSceneWnd& window) {
  const char* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_OWNDC, nullptr,
                                              GetStockObject(BLACK_BRUSH), AfxLoadIcon(IDR_MAINFRAME));
  return window.CreateEx(0, className, "Winterhain", WS_POPUP,
                         CRect(0, 0, CSceneWnd::kWidth, CSceneWnd::kHeight), nullptr, 0);
}
}  // namespace

BEGIN_MESSAGE_MAP(CSaverApp, CWinApp)
END_MESSAGE_MAP()

CSaverApp::CSaverApp() : CWinApp(nullptr) {}

CSaverApp::~CSaverApp() = default;

BOOL CSaverApp::InitInstance() {
  m_pSceneWnd = new CSceneWnd(SceneWndOptions{&platform::SystemClock(), /*playMusic=*/false});
  m_pMainWnd = m_pSceneWnd;
  if (!CreateSaverWindow(*m_pSceneWnd)) {
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

int CSaverApp::ExitInstance() {
  if (m_pSceneWnd) {
    delete m_pSceneWnd;
    m_pSceneWnd = nullptr;
    m_pMainWnd = nullptr;
  }
  return CWinApp::ExitInstance();
}
