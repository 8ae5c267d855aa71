// One BMP picture as one OpenGL texture.
#pragma once

#include <GL/gl.h>

class CTexture {
 public:
  CTexture();
  virtual ~CTexture();

  // Upload with a full mipmap chain (any size; GLU rescales).
  virtual bool LoadMipmapped(const char* path, GLint minFilter, GLint magFilter);
  // Single-level upload (sides must be powers of two).
  virtual bool Load(const char* path, GLint minFilter, GLint magFilter);
  void Bind();

  GLuint Name() const { return m_textureName; }

 private:
  GLuint m_textureName = 0;
};
