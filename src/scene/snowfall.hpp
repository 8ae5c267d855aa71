// The 500 tumbling snowflakes.
#pragma once

#include "scene/texture.hpp"

struct SnowFlake {
  float x;
  float y;  // height
  float z;
  float angleX;  // degrees
  float angleY;
  float angleZ;
  float speed;  // units of fall per millisecond
};

// The arithmetic of one flake, apart from drawing. The random draws come in
// as arguments (in the order they were made), so the rules can be followed
// without the process-wide generator. The bits matter: each product of an
// integer and a constant, and each sum and difference, is taken in double
// precision and narrowed only where it is stored.
namespace snowflake {

constexpr int kSeedDraws = 8;
constexpr int kRespawnDraws = 7;
// Height of the ground: a flake that gets down to it is put back on top.
constexpr double kGroundHeight = -2.0;
constexpr float kRespawnHeight = 25.0f;

// A flake anywhere between the ground and 22, falling 0.005 ... 0.025 per ms.
void Seed(SnowFlake& flake, const int (&draws)[kSeedDraws]);
// A flake put back at height 25, falling 0.01 ... 0.10 per ms.
void Respawn(SnowFlake& flake, const int (&draws)[kRespawnDraws]);
// The turn of every flake in a frame: frameDelta * 0.1 degrees, in double.
double AngleStep(float frameDelta);
// Moves the flake down by frameDelta * speed and turns it by angleStep about
// its three axes. True when the new height, before it is narrowed, is not
// above the ground: the flake must then respawn.
bool Fall(SnowFlake& flake, float frameDelta, double angleStep);

}  // namespace snowflake

class CSnowfall {
 public:
  static constexpr int kFlakeCount = 500;

  // Obtains the flake block; the flakes are seeded by Init.
  CSnowfall();
  virtual ~CSnowfall();
  CSnowfall(const CSnowfall&) = delete;
  CSnowfall& operator=(const CSnowfall&) = delete;

  // Loads the flake picture and seeds every flake. Needs the GL context.
  void Init();
  // Draws every flake where it stands, then lets it fall and tumble for
  // frameDelta milliseconds, respawning those that reached the ground.
  void Draw(float frameDelta);

  // The flake block, kFlakeCount flakes (undefined until Init).
  const SnowFlake* Flakes() const { return m_flakes; }

 private:
  SnowFlake* m_flakes = nullptr;
  CTexture m_texture;
};
