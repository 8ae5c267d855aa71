// Reads and sets the scene window's animation state, and runs its animation
// steps on their own, for tests.
#pragma once

#include "shell/scene_wnd.hpp"

class SceneWndProbe {
 public:
  explicit SceneWndProbe(CSceneWnd& window) : m_window(window) {}

  float& GroundAngle() { return m_window.m_groundAngle; }
  float& BobOffset() { return m_window.m_bobOffset; }
  float& BobVelocity() { return m_window.m_bobVelocity; }
  bool& SantaVisible() { return m_window.m_santaVisible; }
  float& SantaX() { return m_window.m_santaX; }
  float SantaY() const { return m_window.m_santaY; }
  float& FrameDelta() { return m_window.m_frameDelta; }
  float LastTime() const { return m_window.m_lastTime; }

  void AnimateGround() { m_window.AnimateGround(); }
  void MoveSanta() { m_window.MoveSanta(); }

 private:
  CSceneWnd& m_window;
};
