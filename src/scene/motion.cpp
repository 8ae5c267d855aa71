#include "scene/motion.hpp"

namespace scene {

bool TurnGround(float& angle, float frameDelta) {
  angle = static_cast<float>(angle + frameDelta * 0.025);
  const bool fullCircle = angle >= 360.0f;
  if (fullCircle) angle = static_cast<float>(angle - 360.0);
  return fullCircle;
}

void BobGround(float& offset, float& velocity) {
  offset += velocity;
  if (offset > 1.5f || offset < -1.5f) velocity = -velocity;
}

bool MoveSanta(float& x, float frameDelta) {
  x = static_cast<float>(x + frameDelta * 0.001);
  const bool crossed = x >= 2.0f;
  if (crossed) x = -2.0f;
  return crossed;
}

}  // namespace scene
