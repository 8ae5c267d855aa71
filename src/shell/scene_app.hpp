// The application object: creates the scene window and renders frames
// whenever no message is waiting.
#pragma once

#include "framework/afxwin.hpp"

class CSceneWnd;

// Registers the scene window's class and creates the window, hidden, at the
// top-left corner with the given size: what the program does at start-up.
BOOL CreateSceneWindow(CSceneWnd& window, int width, int height);

class CSceneApp : public CWinApp {
 public:
  CSceneApp();
  ~CSceneApp() override;

  BOOL InitInstance() override;
  int Run() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  CSceneWnd* m_pSceneWnd = nullptr;
};
