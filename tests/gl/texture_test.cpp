// Texture uploads on the real renderer.
#include "scene/texture.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "support/bmp_writer.hpp"
#include "support/gl_window.hpp"
#include "support/temp_data_dir.hpp"

namespace {

using testbmp::Rgb;

class TextureTest : public ::testing::Test {
 protected:
  TempDataDir dir;
  GlWindow gl;

  static GLuint BoundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
  }
  // Level 0 of the bound texture as RGB bytes, rows as OpenGL stores them
  // (t = 0 first).
  static std::vector<std::uint8_t> ReadLevel0(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
};

// A 5 x 3 picture: 15 bytes a row, not a multiple of 4; every pixel distinct.
Rgb Pattern(int x, int y) {
  return Rgb{static_cast<std::uint8_t>(40 * x + 3), static_cast<std::uint8_t>(70 * y + 5),
             static_cast<std::uint8_t>(11 * x + 17 * y + 1)};
}

TEST_F(TextureTest, OddRowWidthUploadsExactlyWithTheBottomRowAtTZero) {
  ASSERT_TRUE(testbmp::WriteFile("Data/odd.bmp", testbmp::Bmp24(5, 3, Pattern)));
  CTexture texture;
  ASSERT_TRUE(texture.Load("Data/odd.bmp", GL_NEAREST, GL_NEAREST));
  EXPECT_NE(texture.Name(), 0u);
  EXPECT_EQ(BoundTexture(), texture.Name());
  const auto pixels = ReadLevel0(5, 3);
  for (int t = 0; t < 3; ++t)
    for (int s = 0; s < 5; ++s) {
      const Rgb want = Pattern(s, 2 - t);  // t = 0 is the picture's bottom row
      const std::uint8_t* got = &pixels[(t * 5 + s) * 3];
      EXPECT_EQ(got[0], want.r) << s << "," << t;
      EXPECT_EQ(got[1], want.g) << s << "," << t;
      EXPECT_EQ(got[2], want.b) << s << "," << t;
    }
  GLint minFilter = 0, magFilter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(minFilter, GL_NEAREST);
  EXPECT_EQ(magFilter, GL_NEAREST);
}

TEST_F(TextureTest, MipmappedUploadBuildsTheChain) {
  ASSERT_TRUE(testbmp::WriteSolidBmp("Data/m.bmp", 8, 4, Rgb{10, 200, 30}));
  CTexture texture;
  ASSERT_TRUE(texture.LoadMipmapped("Data/m.bmp", GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR));
  GLint smallest = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 3, GL_TEXTURE_WIDTH, &smallest);  // 8x4 .. 1x1
  EXPECT_EQ(smallest, 1);
  std::vector<std::uint8_t> level3(3);
  glGetTexImage(GL_TEXTURE_2D, 3, GL_RGB, GL_UNSIGNED_BYTE, level3.data());
  EXPECT_EQ(level3, (std::vector<std::uint8_t>{10, 200, 30}));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, RefusedFilesLeaveNameZeroAndTouchNoGlState) {
  auto eightBit = testbmp::Bmp24(4, 4, Pattern);
  eightBit[28] = 8;
  ASSERT_TRUE(testbmp::WriteFile("Data/8bit.bmp", eightBit));
  ASSERT_TRUE(testbmp::WriteFile("Data/garbage.bmp", {'B', 'M', 1, 2, 3}));
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (const char* path : {"Data/8bit.bmp", "Data/garbage.bmp", "Data/missing.bmp"}) {
    CTexture texture;
    EXPECT_FALSE(texture.Load(path, GL_LINEAR, GL_LINEAR)) << path;
    EXPECT_FALSE(texture.LoadMipmapped(path, GL_LINEAR, GL_LINEAR)) << path;
    EXPECT_EQ(texture.Name(), 0u) << path;
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 1);  // no upload was started
  EXPECT_EQ(glIsTexture(1), GL_FALSE);
}

TEST_F(TextureTest, BindingAnEmptyTextureBindsZero) {
  ASSERT_TRUE(testbmp::WriteSolidBmp("Data/a.bmp", 2, 2, Rgb{1, 2, 3}));
  CTexture loaded, empty;
  ASSERT_TRUE(loaded.Load("Data/a.bmp", GL_LINEAR, GL_LINEAR));
  loaded.Bind();
  ASSERT_NE(BoundTexture(), 0u);
  empty.Bind();
  EXPECT_EQ(BoundTexture(), 0u);
}

TEST_F(TextureTest, LoadingTwiceMakesASecondName) {
  ASSERT_TRUE(testbmp::WriteSolidBmp("Data/a.bmp", 2, 2, Rgb{1, 2, 3}));
  CTexture texture;
  ASSERT_TRUE(texture.Load("Data/a.bmp", GL_LINEAR, GL_LINEAR));
  const GLuint first = texture.Name();
  ASSERT_TRUE(texture.Load("Data/a.bmp", GL_LINEAR, GL_LINEAR));
  EXPECT_NE(texture.Name(), first);
  EXPECT_EQ(glIsTexture(first), GL_TRUE);
}

}  // namespace

namespace {

TEST_F(TextureTest, NarrowAndTallPicturesMipmapWholeAndLeaveTheAlignmentAtFour) {
  // GLU's own levels 1 or 2 pixels wide (and its rescaled copies) must be
  // uploaded from tightly packed rows; every level then holds the colour.
  for (auto [width, height] : {std::pair{2, 99}, {1, 46}, {3, 5}, {2, 64}, {8, 3}, {4, 99}}) {
    ASSERT_TRUE(testbmp::WriteSolidBmp("Data/tall.bmp", width, height, Rgb{9, 80, 200}));
    CTexture texture;
    ASSERT_TRUE(texture.LoadMipmapped("Data/tall.bmp", GL_LINEAR, GL_LINEAR)) << width << "x" << height;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    for (GLint level = 0;; ++level) {
      GLint w = 0, h = 0;
      glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
      if (w == 0) break;
      std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * 3);
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glGetTexImage(GL_TEXTURE_2D, level, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
      for (std::size_t i = 0; i < pixels.size(); i += 3)
        ASSERT_EQ((std::vector<int>{pixels[i], pixels[i + 1], pixels[i + 2]}),
                  (std::vector<int>{9, 80, 200}))
            << width << "x" << height << " level " << level;
      if (w == 1 && h == 1) break;
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
  }
}

}  // namespace
