// The snowman on the ground.
#pragma once

#include "scene/texture.hpp"

class CSnowman {
 public:
  CSnowman();
  virtual ~CSnowman();
  void Init();
  void Draw();

  float x;
  float y;
  float z;
};
