#include "scene/sky.hpp"

#include <GL/gl.h>

void DrawSky() {
  glBegin(GL_QUADS);
  glColor3f(0.0f, 0.15f, 0.5f);
  glVertex3f(-1.15f, 1.15f, -2.0f);
  glVertex3f(1.15f, 1.15f, -2.0f);
  glColor3f(0.0f, 0.25f, 0.6f);
  glVertex3f(1.15f, -1.15f, -2.0f);
  glVertex3f(-1.15f, -1.15f, -2.0f);
  glEnd();
}
