#include "scene/texture.hpp"

CTexture::CTexture() = default;
CTexture::~CTexture() = default;

bool CTexture::LoadMipmapped(const char*, GLint, GLint) { return false; }
bool CTexture::Load(const char*, GLint, GLint) { return false; }
void CTexture::Bind() { glBindTexture(GL_TEXTURE_2D, m_textureName); }
