// One BMP picture as one OpenGL texture. Loading needs the context current;
// the texture's name lives as long as the context, so nothing is freed here.
#pragma once

#include <GL/gl.h>

#include "framework/bitmap.hpp"

class CTexture {
 public:
  CTexture();
  virtual ~CTexture();

  // Upload with a full mipmap chain (GLU rescales any size).
  virtual bool LoadMipmapped(const char* path, GLint minFilter, GLint magFilter);
  // Single-level upload: the sides must be powers of two.
  virtual bool Load(const char* path, GLint minFilter, GLint magFilter);

  // Reads the file; on success fills in the picture's description.
  bool LoadBitmapFile(const char* path, BitmapInfo& bitmap);
  // Binds the texture (name 0 when nothing was loaded).
  void Bind();

  GLuint Name() const { return m_textureName; }

 private:
  // Both loaders; `mipmapped` picks the upload.
  bool Upload(const char* path, GLint minFilter, GLint magFilter, bool mipmapped);

  BitmapHandle m_hBitmap = nullptr;
  GLuint m_textureName = 0;
};
