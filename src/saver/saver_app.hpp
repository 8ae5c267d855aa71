// The saver's application object: the program's, with the scene window in
// the window the platform was started with (see main.cpp), paced as a
// screensaver's hack (frame_pacer.hpp), no music.
#pragma once

#include "saver/saver_options.hpp"
#include "shell/scene_app.hpp"

class CSaverApp : public CSceneApp {
 public:
  // Before the framework starts the application (AfxWinMain).
  void SetOptions(const SaverOptions& options) { m_options = options; }

  BOOL InitInstance() override;
  int Run() override;

 private:
  SaverOptions m_options;
};

extern CSaverApp theSaverApp;
