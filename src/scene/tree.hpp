// A fir tree on the ground: a textured trunk cylinder and crown cone.
#pragma once

#include "scene/texture.hpp"

class CTree {
 public:
  CTree();
  virtual ~CTree();
  void Init();
  void Draw();

  float x;
  float y;
  float z;
};
