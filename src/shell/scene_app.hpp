// The application object: creates the scene window and renders frames
// whenever no message is waiting.
#pragma once

#include "framework/afxwin.hpp"

class CSceneWnd;

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
