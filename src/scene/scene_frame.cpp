// The scene window's one-time OpenGL set-up and the drawing and animation
// of one frame.
#include <GL/gl.h>

#include "platform/gl_surface.hpp"
#include "scene/sky.hpp"
#include "shell/scene_wnd.hpp"

void CSceneWnd::InitGL() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_ONE, GL_ONE);
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

void CSceneWnd::PlaceTrees() {
  for (CTree& tree : m_trees) tree.Init();
  static const float kPositions[10][3] = {
      {0.0f, 0.0f, -5.0f},   {-5.0f, 0.0f, -10.0f}, {1.5f, 0.0f, -25.0f}, {10.0f, 0.0f, 1.0f},
      {20.0f, 0.0f, 20.0f},  {-6.0f, 0.0f, 13.0f},  {-15.0f, 0.0f, 2.0f}, {13.0f, 0.0f, 15.0f},
      {-18.0f, 0.0f, -10.0f}, {3.0f, 0.0f, -6.0f}};
  for (int i = 0; i < 10; ++i) {
    m_trees[i].x = kPositions[i][0];
    m_trees[i].y = kPositions[i][1];
    m_trees[i].z = kPositions[i][2];
  }
}

namespace {
// The snowy ground: 100 x 100 units on y = 0, its picture tiled 5 x 5.
void DrawGroundQuad() {
  glBegin(GL_QUADS);
  glColor3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 5.0f);
  glVertex3f(-50.0f, 0.0f, 50.0f);
  glTexCoord2f(5.0f, 5.0f);
  glVertex3f(50.0f, 0.0f, 50.0f);
  glTexCoord2f(5.0f, 0.0f);
  glVertex3f(50.0f, 0.0f, -50.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-50.0f, 0.0f, -50.0f);
  glEnd();
}

// A textured, white quad of the given half-size in the z = 0 plane.
void DrawSpriteQuad(float halfWidth, float halfHeight) {
  glBegin(GL_QUADS);
  glColor3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex2f(-halfWidth, halfHeight);
  glTexCoord2f(1.0f, 1.0f);
  glVertex2f(halfWidth, halfHeight);
  glTexCoord2f(1.0f, 0.0f);
  glVertex2f(halfWidth, -halfHeight);
  glTexCoord2f(0.0f, 0.0f);
  glVertex2f(-halfWidth, -halfHeight);
  glEnd();
}
}  // namespace

void CSceneWnd::DrawScene() {
  glClear(GL_DEPTH_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  DrawSky();
  glEnable(GL_TEXTURE_2D);
  DrawSanta();
  DrawGreetings();
  glEnable(GL_DEPTH_TEST);

  glPushMatrix();
  glRotatef(m_groundAngle, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, -m_bobOffset - 2.0f, 0.0f);
  m_groundTexture.Bind();
  DrawGroundQuad();
  for (CTree& tree : m_trees) tree.Draw();
  m_snowman.Draw();
  glPopMatrix();

  m_snowfall.Draw(m_frameDelta);
  AnimateGround();
  platform::SwapWindowBuffers(m_pDC ? m_pDC->m_hDC : nullptr);
}

void CSceneWnd::AnimateGround() {
  m_groundAngle = static_cast<float>(m_groundAngle + m_frameDelta * 0.025);
  if (m_groundAngle >= 360.0f) {
    m_groundAngle = static_cast<float>(m_groundAngle - 360.0);
    m_santaVisible = true;
  }
  m_bobOffset += m_bobVelocity;
  if (m_bobOffset > 1.5f || m_bobOffset < -1.5f) m_bobVelocity = -m_bobVelocity;
}

void CSceneWnd::DrawSanta() {
  if (!m_santaVisible) return;
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  glEnable(GL_BLEND);
  glPushMatrix();
  glTranslatef(m_santaX, m_santaY, -2.0f);
  m_santaTexture.Bind();
  DrawSpriteQuad(0.125f, 0.1f);
  glPopMatrix();
  glBlendFunc(GL_ONE, GL_ONE);
  MoveSanta();
  glDisable(GL_BLEND);
}

void CSceneWnd::MoveSanta() {
  m_santaX = static_cast<float>(m_santaX + m_frameDelta * 0.001);
  if (m_santaX >= 2.0f) {
    m_santaVisible = false;
    m_santaX = -2.0f;
  }
}

void CSceneWnd::DrawGreetings() {
  glEnable(GL_BLEND);
  glPushMatrix();
  glTranslatef(0.0f, 0.65f, -2.0f);
  m_greetingsTexture.Bind();
  DrawSpriteQuad(0.4f, 0.1f);
  glDisable(GL_BLEND);
  glPopMatrix();
}
