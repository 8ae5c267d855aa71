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

class CSnowfall {
 public:
  static constexpr int kFlakeCount = 500;

  CSnowfall();
  virtual ~CSnowfall();
  void Init();
  void Draw(float frameDelta);

  // The flake block, kFlakeCount flakes (undefined until Init).
  const SnowFlake* Flakes() const { return m_flakes; }

 private:
  SnowFlake* m_flakes = nullptr;
  CTexture m_texture;
};
