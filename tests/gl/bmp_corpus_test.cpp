// Every seed picture of the BMP fuzzer, once through the real load path
// without libFuzzer: the loader accepts exactly the valid ones and hands out
// their rows as the file has them, and the texture uploads agree, with the
// picture in level 0.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "fuzz/bmp_corpus.hpp"
#include "fuzz/bmp_oracle.hpp"
#include "framework/bitmap.hpp"
#include "scene/texture.hpp"
#include "support/gl_window.hpp"
#include "support/temp_data_dir.hpp"

namespace {

class BmpCorpusTest : public ::testing::Test {
 protected:
  TempDataDir dir;
  GlWindow gl;
  const std::vector<bmpcorpus::Seed> seeds = bmpcorpus::Seeds();

  std::string Write(const bmpcorpus::Seed& seed) {
    const std::string path = dir.Data(seed.name);
    EXPECT_TRUE(testbmp::WriteFile(path, seed.bytes)) << seed.name;
    return path;
  }
};

TEST_F(BmpCorpusTest, TheSeedsCoverValidAndBrokenPictures) {
  int valid = 0;
  for (const auto& seed : seeds) {
    valid += seed.valid;
    // The independent reading agrees with how each seed was made.
    EXPECT_EQ(bmporacle::Expect(seed.bytes.data(), seed.bytes.size()).accepted, seed.valid)
        << seed.name;
  }
  EXPECT_GE(valid, 10);
  EXPECT_GE(static_cast<int>(seeds.size()) - valid, 30);
}

TEST_F(BmpCorpusTest, TheLoaderAcceptsExactlyTheValidSeedsWithTheirRows) {
  for (const auto& seed : seeds) {
    const bmporacle::Expectation e = bmporacle::Expect(seed.bytes.data(), seed.bytes.size());
    BitmapHandle bitmap = LoadBitmapImage(Write(seed).c_str());
    EXPECT_EQ(bitmap != nullptr, seed.valid) << seed.name;
    EXPECT_EQ(IsAcceptableBmpHeader(seed.bytes.data(), seed.bytes.size(), seed.bytes.size()),
              seed.valid)
        << seed.name;
    if (!bitmap) continue;
    BitmapInfo info;
    ASSERT_TRUE(GetBitmapInfo(bitmap, info)) << seed.name;
    EXPECT_EQ(info.width, e.width) << seed.name;
    EXPECT_EQ(info.height, e.height) << seed.name;
    EXPECT_EQ(info.widthBytes, (info.width * 3 + 3) & ~3) << seed.name;
    EXPECT_EQ(info.bitsPerPixel, 24) << seed.name;
    if (info.width == e.width && info.height == e.height) {
      EXPECT_EQ(std::memcmp(info.bits, e.rows.data(), e.rows.size()), 0) << seed.name;
    }
    DeleteBitmap(bitmap);
  }
}

TEST_F(BmpCorpusTest, TexturesAreMadeOfExactlyTheValidSeeds) {
  for (const auto& seed : seeds) {
    const std::string path = Write(seed);
    const bmporacle::Expectation e = bmporacle::Expect(seed.bytes.data(), seed.bytes.size());

    CTexture single;
    EXPECT_EQ(single.Load(path.c_str(), GL_NEAREST, GL_NEAREST), seed.valid) << seed.name;
    EXPECT_EQ(single.Name() != 0, seed.valid) << seed.name;
    if (seed.valid && single.Name() != 0) {
      GLint width = 0, height = 0;
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
      EXPECT_EQ(width, e.width) << seed.name;
      EXPECT_EQ(height, e.height) << seed.name;
      if (width == e.width && height == e.height) {
        std::vector<std::uint8_t> level0(e.rows.size(), 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, level0.data());
        int differingRows = 0;
        for (std::int64_t r = 0; r < e.height; ++r)
          differingRows += std::memcmp(&level0[r * e.stride], &e.rows[r * e.stride], e.width * 3) != 0;
        EXPECT_EQ(differingRows, 0) << seed.name;
      }
    }

    CTexture mipmapped;
    EXPECT_EQ(mipmapped.LoadMipmapped(path.c_str(), GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR), seed.valid)
        << seed.name;
    EXPECT_EQ(mipmapped.Name() != 0, seed.valid) << seed.name;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << seed.name;

    for (GLuint name : {single.Name(), mipmapped.Name()})
      if (name != 0) glDeleteTextures(1, &name);
  }
}

}  // namespace
