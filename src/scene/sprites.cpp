#include "scene/sprites.hpp"

#include <GL/gl.h>

namespace scene {

namespace {
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

void DrawSantaSprite(CTexture& texture, float x, float y) {
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  glEnable(GL_BLEND);
  glPushMatrix();
  glTranslatef(x, y, -2.0f);
  texture.Bind();
  DrawSpriteQuad(0.125f, 0.1f);
  glPopMatrix();
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_BLEND);
}

void DrawGreetingsBanner(CTexture& texture) {
  glEnable(GL_BLEND);
  glPushMatrix();
  glTranslatef(0.0f, 0.65f, -2.0f);
  texture.Bind();
  DrawSpriteQuad(0.4f, 0.1f);
  glDisable(GL_BLEND);
  glPopMatrix();
}

}  // namespace scene
