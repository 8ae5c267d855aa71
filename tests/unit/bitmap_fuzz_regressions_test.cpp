// Files the BMP fuzzer found, kept as they were found, and the family each
// belongs to.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/bitmap.hpp"
#include "support/bmp_writer.hpp"
#include "support/temp_data_dir.hpp"

namespace {

class BitmapFuzzRegressions : public ::testing::Test {
 protected:
  TempDataDir dir;

  BitmapHandle Load(const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir.Data("found.bmp");
    EXPECT_TRUE(testbmp::WriteFile(path, bytes));
    return LoadBitmapImage(path.c_str());
  }
};

// A 2 x 3 picture whose info header claims to be 0xFFFFFFFF bytes long.
// 14 plus that size wrapped round to 13 in 32 bits, so pixels at 54 seemed to
// lie behind the header and the file was accepted (SDL skips the header's
// bytes it does not know and reads the pixels at their offset all the same).
const std::vector<std::uint8_t> kHeaderSizeWrapsRound = {
    0x42, 0x4d, 0x4e, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0xff, 0xff,
    0xff, 0xff, 0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x13, 0x0b, 0x00, 0x00, 0x13, 0x0b, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xa3, 0x78, 0x17, 0xa2, 0x7d, 0x3c, 0x00, 0x00, 0xa6, 0x3d,
    0x0c, 0xa7, 0x42, 0x31, 0x00, 0x00, 0xa5, 0x02, 0x01, 0xa4, 0x07, 0x26, 0x00, 0x00};

TEST_F(BitmapFuzzRegressions, InfoHeaderSizeNearTwoToThe32IsRefused) {
  const auto& bytes = kHeaderSizeWrapsRound;
  EXPECT_FALSE(IsAcceptableBmpHeader(bytes.data(), bytes.size(), bytes.size()));
  EXPECT_EQ(Load(bytes), nullptr);
  // The same file with its true header size loads: only the size was wrong.
  auto honest = bytes;
  honest[14] = 40;
  honest[15] = honest[16] = honest[17] = 0;
  BitmapHandle bitmap = Load(honest);
  EXPECT_NE(bitmap, nullptr);
  DeleteBitmap(bitmap);
}

TEST_F(BitmapFuzzRegressions, EveryHeaderSizeWhoseSumWithFourteenWrapsIsRefused) {
  // 2^32 - 14 ... 2^32 - 1: each makes 14 + size wrap round to 0 ... 13.
  const std::vector<std::uint8_t> valid = testbmp::Bmp24(3, 2, [](int x, int y) {
    return testbmp::Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
  });
  for (std::uint32_t size = 0xFFFFFFF2u; size != 0; ++size) {
    auto bytes = valid;
    for (int i = 0; i < 4; ++i) bytes[14 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    EXPECT_FALSE(IsAcceptableBmpHeader(bytes.data(), bytes.size(), bytes.size())) << size;
    EXPECT_EQ(Load(bytes), nullptr) << size;
  }
}

}  // namespace
