#include "scene/snowfall.hpp"

#include <GL/gl.h>

#include "scene/scene_random.hpp"

namespace snowflake {
namespace {

// A whole number of tenths: the integer times the single-precision 0.1f,
// taken in double (so 20 tenths is a hair above 2, not 2).
double Tenths(int tenths) { return static_cast<double>(tenths) * static_cast<double>(0.1f); }

// x from two draws: the first term is narrowed before the second, kept in
// double, is subtracted from it.
float SideOf(int first, int second) {
  const float a = static_cast<float>(Tenths(first % 50 * 10));
  return static_cast<float>(a - Tenths(second % 50 * 10));
}

// z from one draw: the integer is negated before it is scaled, so a zero
// comes out as +0.
float DepthOf(int draw) { return static_cast<float>(Tenths(-(draw % 50 * 10))); }

float AngleOf(int draw) { return static_cast<float>(draw % 360); }

}  // namespace

void Seed(SnowFlake& flake, const int (&r)[kSeedDraws]) {
  flake.x = SideOf(r[0], r[1]);
  flake.y = static_cast<float>(Tenths(r[2] % 25 * 10) - 2.0);
  flake.z = DepthOf(r[3]);
  flake.angleX = AngleOf(r[4]);
  flake.angleY = AngleOf(r[5]);
  flake.angleZ = AngleOf(r[6]);
  flake.speed = static_cast<float>((r[7] % 5 + 1) * static_cast<double>(0.005f));
}

void Respawn(SnowFlake& flake, const int (&s)[kRespawnDraws]) {
  flake.y = kRespawnHeight;
  flake.x = SideOf(s[0], s[1]);
  flake.z = DepthOf(s[2]);
  flake.angleX = AngleOf(s[3]);
  flake.angleY = AngleOf(s[4]);
  flake.angleZ = AngleOf(s[5]);
  flake.speed = static_cast<float>((s[6] % 10 + 1) * static_cast<double>(0.01f));
}

double AngleStep(float frameDelta) { return static_cast<double>(frameDelta) * 0.1; }

bool Fall(SnowFlake& flake, float frameDelta, double angleStep) {
  const double height = flake.y - static_cast<double>(frameDelta) * flake.speed;
  flake.y = static_cast<float>(height);
  // Angles grow without bound; a respawn replaces them.
  flake.angleX = static_cast<float>(flake.angleX + angleStep);
  flake.angleY = static_cast<float>(flake.angleY + angleStep);
  flake.angleZ = static_cast<float>(flake.angleZ + angleStep);
  // The double height decides: one a hair above the ground stays down there
  // for a frame even though it is stored as exactly -2.
  return !(height > kGroundHeight);
}

}  // namespace snowflake

namespace {

// One flake: a white 1 x 1 square in its own x-y plane, picture upright.
void DrawFlakeQuad() {
  glBegin(GL_QUADS);
  glColor3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-0.5f, 0.5f, 0.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(0.5f, 0.5f, 0.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(0.5f, -0.5f, 0.0f);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-0.5f, -0.5f, 0.0f);
  glEnd();
}

}  // namespace

CSnowfall::CSnowfall() { m_flakes = new SnowFlake[kFlakeCount]; }

CSnowfall::~CSnowfall() { delete[] m_flakes; }

void CSnowfall::Init() {
  m_texture.Load("Data/snowFlake.bmp", GL_LINEAR, GL_LINEAR);
  for (int i = 0; i < kFlakeCount; ++i) {
    int draws[snowflake::kSeedDraws];
    for (int& draw : draws) draw = SceneRandom();
    snowflake::Seed(m_flakes[i], draws);
  }
}

void CSnowfall::Draw(float frameDelta) {
  // Additive with the standing ONE, ONE: the black of the picture leaves the
  // scene as it is. The depth test stays on, so nearer things hide flakes.
  glEnable(GL_BLEND);
  m_texture.Bind();
  const double angleStep = snowflake::AngleStep(frameDelta);
  for (int i = 0; i < kFlakeCount; ++i) {
    SnowFlake& flake = m_flakes[i];
    glPushMatrix();
    glTranslatef(flake.x, flake.y, flake.z);
    glRotatef(flake.angleX, 1.0f, 0.0f, 0.0f);
    glRotatef(flake.angleY, 0.0f, 1.0f, 0.0f);
    glRotatef(flake.angleZ, 0.0f, 0.0f, 1.0f);
    DrawFlakeQuad();
    // Only after drawing: a flake is seen where it stood when the frame began.
    if (snowflake::Fall(flake, frameDelta, angleStep)) {
      int draws[snowflake::kRespawnDraws];
      for (int& draw : draws) draw = SceneRandom();
      snowflake::Respawn(flake, draws);
    }
    glPopMatrix();
  }
  glDisable(GL_BLEND);
}
