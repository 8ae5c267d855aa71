// The saver's application object: the program's, with the scene window in
// the window the platform was started with (see main.cpp), one frame per
// display refresh, no music.
#pragma once

#include "shell/scene_app.hpp"

class CSaverApp : public CSceneApp {
 public:
  BOOL InitInstance() override;
  int Run() override;

  DECLARE_MESSAGE_MAP()
};
