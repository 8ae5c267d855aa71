#include "scene/tree.hpp"

#include <GL/gl.h>

bool CTree::s_texturesLoaded = false;

// Empty on purpose: the position and the quadric stay undefined until
// PlaceTrees and Init set them.
CTree::CTree() {}
CTree::~CTree() {}

void CTree::Init() {
  if (!s_texturesLoaded) {
    // Results are not examined: a missing picture leaves its part plain
    // white, and the flag is set all the same so no later tree retries.
    s_crownTexture.LoadMipmapped("Data/Baumoben.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
    s_trunkTexture.LoadMipmapped("Data/Baumstamm.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
    s_texturesLoaded = true;
  }
  m_quadric = gluNewQuadric();
  if (!m_quadric) return;  // out of memory: Draw leaves the tree out
  gluQuadricTexture(m_quadric, GL_TRUE);
  // Lighting is never enabled, so no normals are needed.
  gluQuadricNormals(m_quadric, GLU_NONE);
}

void CTree::Draw() {
  glPushMatrix();
  glTranslatef(x, y, z);
  // The quadric's axis (+z) now points straight up the ground frame's +y.
  glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
  s_trunkTexture.Bind();
  if (m_quadric) gluCylinder(m_quadric, 0.1, 0.1, 0.5, 20, 20);
  glTranslatef(0.0f, 0.0f, 0.5f);  // to the top of the trunk
  s_crownTexture.Bind();
  // The crown: an open cone from the trunk's top to its tip 1.75 higher.
  if (m_quadric) gluCylinder(m_quadric, 0.75, 0.0, 1.75, 20, 20);
  glPopMatrix();
}
