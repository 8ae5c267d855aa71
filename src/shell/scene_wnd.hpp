// The one fullscreen window: owns the OpenGL context, the display mode, the
// clock, the music and everything the scene draws.
#pragma once

#include <cstdint>

#include "framework/afxwin.hpp"
#include "framework/clock_source.hpp"
#include "scene/snowfall.hpp"
#include "scene/snowman.hpp"
#include "scene/texture.hpp"
#include "scene/tree.hpp"
#include "shell/display_mode.hpp"
#include "shell/frame_timer.hpp"
#include "shell/gl_context.hpp"

// How the window is hosted: the program uses the defaults; tools that render
// off screen bring their own clock and leave the music out.
struct SceneWndOptions {
  ClockSource* clock = &SystemClock();
  bool playMusic = true;
};

// The animation state of the frame as the window holds it, for tools and
// tests that watch the scene run.
struct SceneAnimation {
  float groundAngle;
  float bobOffset;
  float bobVelocity;
  bool santaVisible;
  float santaX;
  float santaY;
  float frameDelta;
  float lastTime;
};

class CSceneWnd : public CWnd {
 public:
  // The scene's screen: the display mode it switches to, the window's size.
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;
  static constexpr int kBitsPerPixel = 16;

  explicit CSceneWnd(const SceneWndOptions& options = SceneWndOptions{});
  ~CSceneWnd() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // One pass of the frame loop: wait for the clock, take the frame delta,
  // poll Escape, draw and animate one frame.
  void Tick();

  // One-time GL state and everything the scene loads; the context is current.
  void InitGL();
  // Without a window of its own, on the context current now (the saver's
  // layer surfaces): the set-up of its creation, for a client area of
  // width x height.
  void StartOnCurrentContext(int width, int height);
  // One frame: backdrop, santa, banner, ground scene, flakes, then the
  // animation steps and the buffer swap.
  void DrawScene();

  const CSnowfall& Snowfall() const { return m_snowfall; }
  SceneAnimation Animation() const;

 protected:
  int OnCreate(CREATESTRUCT* cs);
  void OnSize(UINT type, int cx, int cy);
  void OnDestroy();

  DECLARE_MESSAGE_MAP()

 private:
  void DrawSanta();
  void DrawGreetings();
  void PlaceTrees();
  void AnimateGround();
  void MoveSanta();
  void StartMusic();
  void StopMusic();

  // The order of these members matters: they are built top to bottom and
  // torn down bottom to top, after the destructor has deleted the device
  // context. So the GL context is released first, then the display mode is
  // restored (once more after OnDestroy), and only then go the scene objects.
  CTexture m_greetingsTexture;
  bool m_santaVisible = true;
  float m_santaX = -2.0f;
  float m_santaY = 0.65f;
  CTexture m_santaTexture;
  CSnowman m_snowman;
  CTree m_trees[10];
  float m_bobVelocity = 0.015f;
  float m_frameDelta = 0.0f;
  float m_lastTime = 0.0f;
  CFrameTimer m_clock;
  float m_groundAngle = 0.0f;
  float m_bobOffset = 0.0f;
  std::uint32_t m_musicStream = 0;
  CSnowfall m_snowfall;
  CTexture m_groundTexture;
  CClientDC* m_pDC = nullptr;
  CDisplayMode m_displayMode;
  CGLContext m_glContext;

  bool m_playMusic;
};
