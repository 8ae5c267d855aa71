// The 500 tumbling snowflakes.
#pragma once

#include "scene/texture.hpp"

class CSnowfall {
 public:
  CSnowfall();
  virtual ~CSnowfall();
  void Init();
  void Draw(float frameDelta);
};
