#include "framework/winapp.hpp"

#include <cstdio>

#include "framework/message_queue.hpp"
#include "framework/resources.hpp"
#include "framework/wnd.hpp"
#include "platform/platform.hpp"

namespace {
CWinApp* g_app = nullptr;
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) {
  g_app = this;
  LoadTitle();
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

void CWinApp::LoadTitle() {
  if (m_pszAppName) return;
  const char* title = AfxLoadString(AFX_IDS_APP_TITLE);
  m_titleStorage = title ? title : "";
  m_pszAppName = m_titleStorage.c_str();
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  while (PumpMessage()) {
  }
  return ExitInstance();
}

BOOL CWinApp::PumpMessage() {
  if (!GetMessage(&m_msgCur, nullptr, 0, 0)) return FALSE;
  TranslateMessage(&m_msgCur);
  DispatchMessage(&m_msgCur);
  return TRUE;
}

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int AfxWinMain() {
  CWinApp* app = AfxGetApp();
  if (!app) {
    std::fprintf(stderr, "no application object\n");
    return 1;
  }
  // A layer that finds no display is reported by the window that cannot be
  // made, in the program's own words. The window is all a user sees of the
  // program, so a driver that shows nothing counts as no display.
  platform::Init(platform::InitOptions{.onScreenOnly = true, .ownProcess = true});
  int exitCode = 1;
  if (!app->InitApplication()) {
    exitCode = 1;
  } else if (!app->InitInstance()) {
    if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
    exitCode = app->ExitInstance();
    if (exitCode == 0) exitCode = 1;  // a failed start never reports success
  } else {
    exitCode = app->Run();
  }
  AfxClearMessageQueue();
  platform::Shutdown();
  return exitCode;
}
