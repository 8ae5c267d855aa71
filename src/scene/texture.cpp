#include "scene/texture.hpp"

#include <GL/glu.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

namespace {
// GLU uploads the mipmap levels it makes (and any rescaled copy) from
// buffers of its own, packed tightly, under the row alignment in force: at
// an alignment of 4, levels 1 or 2 pixels wide are read past their end.
// So the chain is built from tightly packed rows at an alignment of 1, and
// the alignment of 4 the bitmap rows need is put back afterwards. The copy
// keeps a spare row, since GLU's rescaling reads a little past the last.
std::vector<std::uint8_t> TightRows(const BitmapInfo& bitmap) {
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * 3;
  std::vector<std::uint8_t> rows(rowBytes * (bitmap.height + 1) + 16, 0);
  const auto* source = static_cast<const std::uint8_t*>(bitmap.bits);
  for (int row = 0; row < bitmap.height; ++row)
    std::copy_n(source + static_cast<std::size_t>(row) * bitmap.widthBytes, rowBytes,
                &rows[row * rowBytes]);
  return rows;
}

void BuildMipmaps(const BitmapInfo& bitmap) {
  const std::vector<std::uint8_t> rows = TightRows(bitmap);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap.width, bitmap.height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                    rows.data());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}
}  // namespace

CTexture::CTexture() = default;
CTexture::~CTexture() = default;

bool CTexture::LoadBitmapFile(const char* path, BitmapInfo& bitmap) {
  m_hBitmap = LoadBitmapImage(path);
  if (!m_hBitmap) return false;
  GetBitmapInfo(m_hBitmap, bitmap);
  return true;
}

bool CTexture::Upload(const char* path, GLint minFilter, GLint magFilter, bool mipmapped) {
  BitmapInfo bitmap;
  if (!LoadBitmapFile(path, bitmap)) return false;
  // BMP rows are padded to 4 bytes, as this alignment expects.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glGenTextures(1, &m_textureName);
  glBindTexture(GL_TEXTURE_2D, m_textureName);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
  if (mipmapped)
    BuildMipmaps(bitmap);
  else
    glTexImage2D(GL_TEXTURE_2D, 0, 3, bitmap.width, bitmap.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                 bitmap.bits);
  DeleteBitmap(m_hBitmap);
  m_hBitmap = nullptr;
  return true;
}

bool CTexture::LoadMipmapped(const char* path, GLint minFilter, GLint magFilter) {
  return Upload(path, minFilter, magFilter, true);
}

bool CTexture::Load(const char* path, GLint minFilter, GLint magFilter) {
  return Upload(path, minFilter, magFilter, false);
}

void CTexture::Bind() { glBindTexture(GL_TEXTURE_2D, m_textureName); }
