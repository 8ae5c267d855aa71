// The scene window's background music: started in OnCreate, stopped in
// OnDestroy. Between the two the audio library plays on its own.
#include "music/background_music.hpp"
#include "shell/scene_wnd.hpp"

void CSceneWnd::StartMusic() {
  if (!m_playMusic) return;
  m_musicStream = StartBackgroundMusic(platform::SdlMixerAudio(), m_hWnd, MessageBoxesOf(*this));
}

void CSceneWnd::StopMusic() {
  if (!m_playMusic) return;
  StopBackgroundMusic(platform::SdlMixerAudio(), m_musicStream);
}
