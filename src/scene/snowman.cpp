#include "scene/snowman.hpp"

#include <GL/gl.h>

bool CSnowman::s_texturesLoaded = false;

// Empty on purpose: the position and the quadrics stay undefined until the
// window and Init set them.
CSnowman::CSnowman() {}
CSnowman::~CSnowman() {}

void CSnowman::Init() {
  if (!s_texturesLoaded) {
    // Results are not examined: a missing picture leaves its part plain.
    m_bodyTexture.LoadMipmapped("Data/Schneeman.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
    m_faceTexture.LoadMipmapped("Data/Gesicht.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
    m_hatTexture.LoadMipmapped("Data/Muetze.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR);
    s_texturesLoaded = true;
  }
  // Both keep GLU's default smooth normals; lighting is never on anyway.
  m_bodyQuadric = gluNewQuadric();
  if (m_bodyQuadric) gluQuadricTexture(m_bodyQuadric, GL_TRUE);
  m_noseQuadric = gluNewQuadric();
  if (m_noseQuadric) gluQuadricTexture(m_noseQuadric, GL_FALSE);
}

void CSnowman::Draw() {
  constexpr float kBodyRadius = 0.65f;
  constexpr float kHeadRadius = 0.35f;

  glPushMatrix();
  // Single-precision sum: the origin is now the centre of the body, which
  // just touches the ground.
  glTranslatef(x, y + kBodyRadius, z);
  m_bodyTexture.Bind();
  if (m_bodyQuadric) gluSphere(m_bodyQuadric, kBodyRadius, 30, 30);
  glTranslatef(0.0f, 1.0f, 0.0f);  // the centre of the head, touching the body
  if (m_bodyQuadric) gluSphere(m_bodyQuadric, kHeadRadius, 30, 30);

  DrawFace();
  glBlendFunc(GL_ONE, GL_ONE);  // the standing additive function again
  DrawHat();

  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  // The nose: a cone whose base sits on the head's +x side and whose tip
  // points along +z; it is not turned toward +x.
  glTranslatef(0.35f, 0.0f, 0.0f);
  glColor3f(1.0f, 0.5f, 0.0f);
  if (m_noseQuadric) gluCylinder(m_noseQuadric, 0.1, 0.0, 0.15, 15, 15);
  glEnable(GL_TEXTURE_2D);
  glPopMatrix();
}

// The face picture multiplies what is drawn: white leaves the head as it
// is, the dark eyes and mouth darken it. The square lies in the plane x = 0
// through the head's centre and covers its outline seen along x. Without
// depth testing it shows over everything drawn before it, from both sides.
void CSnowman::DrawFace() {
  m_faceTexture.Bind();
  glEnable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  glBegin(GL_QUADS);
  glColor3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(0.0f, 0.35f, 0.35f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(0.0f, 0.35f, -0.35f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(0.0f, -0.35f, -0.35f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(0.0f, -0.35f, 0.35f);
  glEnd();
}

// The hat picture is added to what is drawn, so its black parts vanish. The
// square shares the face's plane and reaches half a unit above the head; its
// lower edge is the float just below 0.2.
void CSnowman::DrawHat() {
  constexpr float kHatBottom = 0.19999999f;
  m_hatTexture.Bind();
  glBegin(GL_QUADS);
  glColor3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(0.0f, 0.85f, 0.35f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(0.0f, 0.85f, -0.35f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(0.0f, kHatBottom, -0.35f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(0.0f, kHatBottom, 0.35f);
  glEnd();
}
