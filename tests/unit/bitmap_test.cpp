// Reading BMP files: only 24-bit uncompressed pictures whose header fits the
// file, laid out bottom row first, B-G-R, rows padded to 4 bytes.
#include "framework/bitmap.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "support/bmp_writer.hpp"
#include "support/temp_data_dir.hpp"

namespace {

using testbmp::Rgb;

class BitmapTest : public ::testing::Test {
 protected:
  TempDataDir dir;

  std::string Write(const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir.Data("test.bmp");
    EXPECT_TRUE(testbmp::WriteFile(path, bytes));
    return path;
  }
  static std::vector<std::uint8_t> Valid(int width = 3, int height = 2) {
    return testbmp::Bmp24(width, height, [](int x, int y) {
      return Rgb{static_cast<std::uint8_t>(10 * x), static_cast<std::uint8_t>(100 + y), 200};
    });
  }
  static void SetU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  static void SetU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = value & 0xFF;
    bytes[at + 1] = value >> 8;
  }
};

TEST_F(BitmapTest, RowsComeBottomFirstInBlueGreenRedOrderPaddedToFourBytes) {
  BitmapHandle bitmap = LoadBitmapImage(Write(Valid(3, 2)).c_str());
  ASSERT_NE(bitmap, nullptr);
  BitmapInfo info;
  ASSERT_TRUE(GetBitmapInfo(bitmap, info));
  EXPECT_EQ(info.width, 3);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(info.widthBytes, 12);  // 9 bytes of pixels, padded
  EXPECT_EQ(info.bitsPerPixel, 24);
  const auto* bytes = static_cast<const std::uint8_t*>(info.bits);
  // First stored row: the bottom of the picture (y = 1).
  const std::uint8_t bottomRow[9] = {200, 101, 0, 200, 101, 10, 200, 101, 20};
  const std::uint8_t topRow[9] = {200, 100, 0, 200, 100, 10, 200, 100, 20};
  EXPECT_EQ(std::memcmp(bytes, bottomRow, 9), 0);
  EXPECT_EQ(std::memcmp(bytes + 12, topRow, 9), 0);
  DeleteBitmap(bitmap);
}

TEST_F(BitmapTest, TopDownFilesAreLaidOutBottomFirstToo) {
  // A negative height stores the top row first in the file.
  auto bytes = Valid(3, 2);
  const auto bottomUp = bytes;
  SetU32(bytes, 22, static_cast<std::uint32_t>(-2));
  std::memcpy(&bytes[54], &bottomUp[54 + 12], 12);
  std::memcpy(&bytes[54 + 12], &bottomUp[54], 12);
  BitmapHandle bitmap = LoadBitmapImage(Write(bytes).c_str());
  ASSERT_NE(bitmap, nullptr);
  BitmapInfo info;
  GetBitmapInfo(bitmap, info);
  EXPECT_EQ(info.height, 2);
  EXPECT_EQ(std::memcmp(info.bits, &bottomUp[54], 24), 0);
  DeleteBitmap(bitmap);
}

TEST_F(BitmapTest, OtherDepthsAndCompressionsAreRefused) {
  for (std::uint16_t bits : {1, 4, 8, 16, 32}) {
    auto bytes = Valid();
    SetU16(bytes, 28, bits);
    EXPECT_EQ(LoadBitmapImage(Write(bytes).c_str()), nullptr) << bits << " bits";
  }
  for (std::uint32_t compression : {1u, 2u, 3u, 4u, 5u, 6u}) {  // RLE, bit fields, JPEG, PNG
    auto bytes = Valid();
    SetU32(bytes, 30, compression);
    EXPECT_EQ(LoadBitmapImage(Write(bytes).c_str()), nullptr) << "compression "
                                                                        << compression;
  }
}

TEST_F(BitmapTest, HeadersThatDoNotFitTheFileAreRefused) {
  struct Lie {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  } lies[] = {
      {"pixel offset past the end", 10, 1u << 30},
      {"pixel offset inside the header", 10, 20},
      {"absurd width", 18, 1u << 30},
      {"absurd height", 22, 1u << 30},
      {"zero width", 18, 0},
      {"zero height", 22, 0},
      {"negative width", 18, static_cast<std::uint32_t>(-3)},
      {"rows longer than the file", 18, 1000},
      {"header size too small", 14, 12},
  };
  for (const Lie& lie : lies) {
    auto bytes = Valid();
    SetU32(bytes, lie.at, lie.value);
    EXPECT_EQ(LoadBitmapImage(Write(bytes).c_str()), nullptr) << lie.what;
  }
  auto truncated = Valid(16, 16);
  truncated.resize(truncated.size() - 5);
  EXPECT_EQ(LoadBitmapImage(Write(truncated).c_str()), nullptr) << "truncated pixels";
  auto noMagic = Valid();
  noMagic[0] = 'X';
  EXPECT_EQ(LoadBitmapImage(Write(noMagic).c_str()), nullptr) << "no BM";
  EXPECT_EQ(LoadBitmapImage(Write({'B', 'M', 0, 0}).c_str()), nullptr) << "short file";
  EXPECT_EQ(LoadBitmapImage(Write({}).c_str()), nullptr) << "empty file";
}

TEST_F(BitmapTest, MissingFilesAndFoldersAreRefused) {
  EXPECT_EQ(LoadBitmapImage(dir.Data("none.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadBitmapImage(dir.Root().c_str()), nullptr);
  EXPECT_EQ(LoadBitmapImage(nullptr), nullptr);
  BitmapInfo info;
  EXPECT_FALSE(GetBitmapInfo(nullptr, info));
}

}  // namespace
