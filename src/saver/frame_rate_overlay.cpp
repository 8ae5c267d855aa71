#include "saver/frame_rate_overlay.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kAdvance = kGlyphWidth + 1;
constexpr int kPadding = 2;  // around the text, in glyph pixels

// Rows top to bottom, the leftmost pixel in the highest of five bits.
struct Glyph {
  char c;
  std::uint8_t rows[kGlyphHeight];
};
constexpr Glyph kGlyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph* GlyphOf(char c) {
  for (const Glyph& glyph : kGlyphs)
    if (glyph.c == c) return &glyph;
  return nullptr;  // a space
}

void Rectangle(int x, int y, int width, int height) {
  glVertex2i(x, y);
  glVertex2i(x + width, y);
  glVertex2i(x + width, y + height);
  glVertex2i(x, y + height);
}

// Each lit glyph pixel as a square of `scale` pixels; (x, y) is the text's
// bottom left corner, OpenGL counting from the bottom.
void Text(const char* text, int x, int y, int scale) {
  glBegin(GL_QUADS);
  for (int i = 0; text[i]; ++i) {
    const Glyph* glyph = GlyphOf(text[i]);
    if (!glyph) continue;
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int column = 0; column < kGlyphWidth; ++column)
        if (glyph->rows[row] & (0x10 >> column))
          Rectangle(x + (i * kAdvance + column) * scale, y + (kGlyphHeight - 1 - row) * scale,
                    scale, scale);
  }
  glEnd();
}
}  // namespace

void DrawFrameRate(double rate) {
  char text[32];
  const int length = rate < 0
                         ? std::snprintf(text, sizeof text, "FPS: --")
                         : std::snprintf(text, sizeof text, "FPS: %.1f", std::min(rate, 9999.9));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  // Pixels per glyph pixel: a glyph of 14 pixels on 600 to 899 rows, larger
  // on taller screens, and never smaller than its own 7.
  const int scale = std::max(1, viewport[3] / 300);

  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, viewport[2], 0, viewport[3], -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  const int margin = 4 * scale;
  const int pad = kPadding * scale;
  glColor3f(0, 0, 0);
  glBegin(GL_QUADS);
  Rectangle(margin, margin, (length * kAdvance - 1) * scale + 2 * pad, kGlyphHeight * scale + 2 * pad);
  glEnd();
  glColor3f(1, 1, 1);
  Text(text, margin + pad, margin + pad, scale);

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();  // the matrix mode too
}
