// A fir tree on the ground: a textured trunk cylinder and crown cone, both
// drawn with one GLU quadric. All trees share the crown and trunk pictures.
#pragma once

#include <GL/glu.h>

#include "scene/texture.hpp"

class CTree {
 public:
  // Neither touches the position nor the quadric: PlaceTrees sets the one,
  // Init makes the other, and the quadric lives until the process ends.
  CTree();
  virtual ~CTree();

  // Loads the shared pictures on the first call in the process, then makes
  // this tree's quadric. Needs the OpenGL context current.
  void Init();
  // Draws the tree at its position in the current modelview frame, in the
  // current colour; leaves the matrix as it was and the crown texture bound.
  void Draw();

  float x;
  float y;  // height of the foot above the ground plane
  float z;

  // Process-wide, defined with the application object (shell/app_objects.cpp).
  static CTexture s_crownTexture;
  static CTexture s_trunkTexture;
  // Set by the first Init in the process, whether the pictures loaded or not.
  static bool s_texturesLoaded;

 private:
  GLUquadric* m_quadric;  // null when GLU could not make one: nothing is drawn
};
