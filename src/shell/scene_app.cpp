#include "shell/scene_app.hpp"

#include <cstdio>

#include "platform/platform.hpp"
#include "res/resource.hpp"
#include "shell/idle_loop.hpp"
#include "shell/scene_wnd.hpp"

BEGIN_MESSAGE_MAP(CSceneApp, CWinApp)
END_MESSAGE_MAP()

CSceneApp::CSceneApp() : CWinApp(nullptr) {}

CSceneApp::~CSceneApp() = default;

BOOL CreateSceneWindow(CSceneWnd& window, int width, int height, const char* title) {
  const char* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_OWNDC, nullptr,
                                              GetStockObject(BLACK_BRUSH), AfxLoadIcon(IDR_MAINFRAME));
  return window.CreateEx(0, className, title, WS_POPUP, CRect(0, 0, width, height), nullptr, 0);
}

BOOL CSceneApp::InitInstance() {
  m_pSceneWnd = new CSceneWnd();
  m_pMainWnd = m_pSceneWnd;
  if (!CreateSceneWindow(*m_pSceneWnd, CSceneWnd::kWidth, CSceneWnd::kHeight)) {
    // Without its window the scene can never be seen or ended; say why and
    // stop instead of looping unseen.
    std::fprintf(stderr, "winterhain: cannot start: %s\n", platform::LastError().c_str());
    return FALSE;
  }
  m_pSceneWnd->ShowWindow(SW_SHOW);
  m_pSceneWnd->SetForegroundWindow();
  m_pSceneWnd->SetFocus();
  ShowCursor(FALSE);
  return TRUE;
}

int CSceneApp::Run() {
  RunIdleLoop([this] { return PumpMessage(); }, [this] { m_pSceneWnd->Tick(); });
  return ExitInstance();
}

int CSceneApp::ExitInstance() {
  if (m_pSceneWnd) {
    delete m_pSceneWnd;
    m_pSceneWnd = nullptr;
    m_pMainWnd = nullptr;
  }
  return CWinApp::ExitInstance();
}
