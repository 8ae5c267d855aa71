// The application object: creates the scene window and renders frames
// whenever no message is waiting.
#pragma once

#include "framework/afxwin.hpp"

class CSceneWnd;

// Registers the scene window's class and creates the window, hidden, at the
// top-left corner with the given size and title: what the program does at
// start-up (the screensaver names its own window "Winterhain").
BOOL CreateSceneWindow(CSceneWnd& window, int width, int height, const char* title = "OpenGL");

class CSceneApp : public CWinApp {
 public:
  CSceneApp();
  ~CSceneApp() override;

  BOOL InitInstance() override;
  int Run() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 protected:
  CSceneWnd* m_pSceneWnd = nullptr;
};
