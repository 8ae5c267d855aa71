#include "shell/scene_wnd.hpp"

#include <GL/gl.h>
#include <GL/glu.h>

#include "framework/audio_library.hpp"
#include "music/background_music.hpp"
#include "platform/platform.hpp"
#include "scene/motion.hpp"
#include "scene/scene_frame.hpp"
#include "scene/sprites.hpp"

BEGIN_MESSAGE_MAP(CSceneWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSceneWnd::CSceneWnd(const SceneWndOptions& options)
    : m_clock(*options.clock), m_playMusic(options.playMusic) {}

CSceneWnd::~CSceneWnd() {
  delete m_pDC;
  m_pDC = nullptr;
}

BOOL CSceneWnd::PreCreateWindow(CREATESTRUCT& cs) {
  m_displayMode.SetMode(kWidth, kHeight, kBitsPerPixel);
  return CWnd::PreCreateWindow(cs);
}

int CSceneWnd::OnCreate(CREATESTRUCT* cs) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  m_pDC = new CClientDC(this);
  m_glContext.Create(m_pDC->m_hDC);
  // Without a current context the scene could never be seen and the loop
  // would spin unseen; creation fails and the program says why.
  if (!HasCurrentGLContext()) return -1;
  InitGL();
  StartMusic();
  m_clock.Start();
  m_lastTime = static_cast<float>(m_clock.GetTime());
  return 0;
}

void CSceneWnd::StartOnCurrentContext(int width, int height) {
  InitGL();
  m_clock.Start();
  m_lastTime = static_cast<float>(m_clock.GetTime());
  OnSize(0, width, height);
}

void CSceneWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  if (cy == 0) cy = 1;
  glViewport(0, 0, cx, cy);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(cx) / static_cast<double>(cy), 0.1f, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void CSceneWnd::OnDestroy() {
  StopMusic();
  m_displayMode.Restore();
  PostQuitMessage(0);
  CWnd::OnDestroy();
}

void CSceneWnd::Tick() {
  m_frameDelta = WaitForNextFrame(m_clock, m_lastTime);
  if (GetAsyncKeyState(VK_ESCAPE)) PostMessage(WM_CLOSE, 0, 0);
  DrawScene();
}

SceneAnimation CSceneWnd::Animation() const {
  return {m_groundAngle, m_bobOffset, m_bobVelocity, m_santaVisible,
          m_santaX,      m_santaY,    m_frameDelta,  m_lastTime};
}

void CSceneWnd::InitGL() {
  scene::SetUpGLState();
  m_groundTexture.LoadMipmapped("Data/snow.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
  m_snowfall.Init();
  m_santaTexture.Load("Data/santa.bmp", GL_LINEAR, GL_LINEAR);
  m_greetingsTexture.Load("Data/greetings.bmp", GL_LINEAR, GL_LINEAR);
  PlaceTrees();
  m_snowman.Init();
  m_snowman.x = -6.0f;
  m_snowman.y = 0.0f;
  m_snowman.z = 0.0f;
}

void CSceneWnd::PlaceTrees() { scene::PlaceTrees(m_trees); }

void CSceneWnd::DrawScene() {
  scene::DrawBackdrop();
  DrawSanta();
  DrawGreetings();
  scene::DrawGroundScene(m_groundTexture, m_groundAngle, m_bobOffset, m_trees, m_snowman);
  m_snowfall.Draw(m_frameDelta);
  AnimateGround();
  SwapWindowBuffers(m_pDC ? m_pDC->m_hDC : nullptr);
}

void CSceneWnd::DrawSanta() {
  if (!m_santaVisible) return;
  scene::DrawSantaSprite(m_santaTexture, m_santaX, m_santaY);
  MoveSanta();
}

void CSceneWnd::DrawGreetings() { scene::DrawGreetingsBanner(m_greetingsTexture); }

void CSceneWnd::AnimateGround() {
  if (scene::TurnGround(m_groundAngle, m_frameDelta)) m_santaVisible = true;
  scene::BobGround(m_bobOffset, m_bobVelocity);
}

void CSceneWnd::MoveSanta() {
  if (scene::MoveSanta(m_santaX, m_frameDelta)) m_santaVisible = false;
}

void CSceneWnd::StartMusic() {
  if (!m_playMusic) return;
  m_musicStream = StartBackgroundMusic(SystemAudio(), m_hWnd, MessageBoxesOf(*this));
}

void CSceneWnd::StopMusic() {
  if (!m_playMusic) return;
  StopBackgroundMusic(SystemAudio(), m_musicStream);
}
