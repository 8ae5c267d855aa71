// The real scene window, built off screen as the program builds it (without
// the music and the display switch) and driven by a manual clock: frame k
// runs Tick with the k-th frame delta.
#pragma once

#include <cstdint>
#include <vector>

#include "manual_clock.hpp"

class CSceneWnd;

class SceneCapture {
 public:
  // Needs SDL_VIDEODRIVER=offscreen (or another display) in the environment.
  SceneCapture(int width, int height);
  ~SceneCapture();
  SceneCapture(const SceneCapture&) = delete;
  SceneCapture& operator=(const SceneCapture&) = delete;

  // False when the window or its OpenGL context could not be made.
  bool Ok() const { return m_created; }
  // Renders one frame per delta; keeps the last one when asked.
  void Run(const std::vector<double>& deltas, bool keepLastFrame);
  // The last kept frame: width * height RGB pixels, top row first.
  const std::vector<std::uint8_t>& LastFrame() const { return m_frame; }
  CSceneWnd& Window() { return *m_window; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  void ReadBackBuffer();

  int m_width;
  int m_height;
  ManualClock m_clock;
  CSceneWnd* m_window;
  bool m_created;
  std::vector<std::uint8_t> m_frame;
};
