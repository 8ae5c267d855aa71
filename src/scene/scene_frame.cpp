#include "scene/scene_frame.hpp"

#include <GL/gl.h>

#include "scene/sky.hpp"

namespace scene {

void SetUpGLState() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glBlendFunc(GL_ONE, GL_ONE);
}

void PlaceTrees(std::span<CTree, 10> trees) {
  for (CTree& tree : trees) tree.Init();
  static const float kPositions[10][3] = {
      {0.0f, 0.0f, -5.0f},   {-5.0f, 0.0f, -10.0f}, {1.5f, 0.0f, -25.0f}, {10.0f, 0.0f, 1.0f},
      {20.0f, 0.0f, 20.0f},  {-6.0f, 0.0f, 13.0f},  {-15.0f, 0.0f, 2.0f}, {13.0f, 0.0f, 15.0f},
      {-18.0f, 0.0f, -10.0f}, {3.0f, 0.0f, -6.0f}};
  for (int i = 0; i < 10; ++i) {
    trees[i].x = kPositions[i][0];
    trees[i].y = kPositions[i][1];
    trees[i].z = kPositions[i][2];
  }
}

void DrawBackdrop() {
  glClear(GL_DEPTH_BUFFER_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  DrawSky();
  glEnable(GL_TEXTURE_2D);
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
}  // namespace

void DrawGroundScene(CTexture& groundTexture, float angle, float bobOffset,
                     std::span<CTree, 10> trees, CSnowman& snowman) {
  // The backdrop left depth at its cleared value: all of this lies in front.
  glEnable(GL_DEPTH_TEST);
  glPushMatrix();
  glRotatef(angle, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, -bobOffset - 2.0f, 0.0f);
  groundTexture.Bind();
  DrawGroundQuad();
  for (CTree& tree : trees) tree.Draw();
  snowman.Draw();
  glPopMatrix();
}

}  // namespace scene
