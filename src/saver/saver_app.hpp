// The saver's application object: the scene window in the window the
// command line chose, one frame per display refresh, no music.
#pragma once

#include "framework/afxwin.hpp"
#include "saver/saver_options.hpp"

class CSceneWnd;

class CSaverApp : public CWinApp {
 public:
  CSaverApp();
  ~CSaverApp() override;

  // Before AfxWinMain: the window the scene goes into.
  void UseOptions(const SaverOptions& options) { m_options = options; }

  BOOL InitInstance() override;
  int Run() override;
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  SaverOptions m_options;
  CSceneWnd* m_pSceneWnd = nullptr;
};

extern CSaverApp theSaverApp;
