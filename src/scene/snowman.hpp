// The snowman on the ground: a body and a head sphere, a face and a hat laid
// over the head as flat blended squares, and an orange cone for a nose.
#pragma once

#include <GL/glu.h>

#include "scene/texture.hpp"

class CSnowman {
 public:
  // Neither touches the position nor the quadrics: the window sets the one
  // after Init, Init makes the others, and they live until the process ends.
  CSnowman();
  virtual ~CSnowman();

  // Loads the three pictures on the first call in the process, then makes
  // the two quadrics. Needs the OpenGL context current.
  void Init();
  // Draws the snowman at its foot point in the current modelview frame.
  // Expects texturing and depth testing on, blending off with GL_ONE,
  // GL_ONE and the colour white; leaves them so, except that the colour is
  // orange afterwards and the hat texture is bound.
  void Draw();

  // The foot point on the ground.
  float x;
  float y;
  float z;

  // Set by the first Init in the process, whether the pictures loaded or not.
  static bool s_texturesLoaded;

 private:
  void DrawFace();
  void DrawHat();

  CTexture m_bodyTexture;  // on both spheres
  CTexture m_faceTexture;
  CTexture m_hatTexture;
  // Null when GLU could not make one: the parts it draws are left out.
  GLUquadric* m_bodyQuadric;  // with texture coordinates; both spheres
  GLUquadric* m_noseQuadric;  // without; the nose
};
