// The saver's application object: the scene window in the window the
// platform was started with (see main.cpp), one frame per display refresh,
// no music.
#pragma once

#include "framework/afxwin.hpp"

class CSceneWnd;

class CSaverApp : public CWinApp {
 public:
  CSaverApp();
  ~CSaverApp() override;

  BOOL InitInstance() override;
  int Run() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  CSceneWnd* m_pSceneWnd = nullptr;
};
