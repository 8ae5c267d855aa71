#include "scene/texture.hpp"

#include <GL/glu.h>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

namespace {
bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// GLU rescales a picture whose sides are not powers of two into a buffer of
// its own, packed tightly, and uploads it under the 4-byte row alignment in
// force: for a rescaled width of 1 or 2 pixels the driver then reads past
// the end of GLU's buffer. Such slivers are refused instead.
bool GluCannotRescale(const platform::BitmapInfo& bitmap) {
  return bitmap.width < 4 && !(IsPowerOfTwo(bitmap.width) && IsPowerOfTwo(bitmap.height));
}
}  // namespace

CTexture::CTexture() = default;
CTexture::~CTexture() = default;

bool CTexture::LoadBitmapFile(const char* path, platform::BitmapInfo& bitmap) {
  m_hBitmap = platform::LoadBitmapImage(path);
  if (!m_hBitmap) return false;
  platform::GetBitmapInfo(m_hBitmap, bitmap);
  return true;
}

bool CTexture::Upload(const char* path, GLint minFilter, GLint magFilter, bool mipmapped) {
  platform::BitmapInfo bitmap;
  if (!LoadBitmapFile(path, bitmap)) return false;
  if (mipmapped && GluCannotRescale(bitmap)) {
    platform::DeleteBitmap(m_hBitmap);
    m_hBitmap = nullptr;
    return false;
  }
  // BMP rows are padded to 4 bytes, as this alignment expects.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glGenTextures(1, &m_textureName);
  glBindTexture(GL_TEXTURE_2D, m_textureName);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
  if (mipmapped)
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap.width, bitmap.height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      bitmap.bits);
  else
    glTexImage2D(GL_TEXTURE_2D, 0, 3, bitmap.width, bitmap.height, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                 bitmap.bits);
  platform::DeleteBitmap(m_hBitmap);
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
