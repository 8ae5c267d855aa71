// The seed pictures for the BMP fuzzer, made here rather than stored: valid
// 24-bit files of awkward shapes and broken files of every kind the loader
// must refuse. tests/fuzz/make_corpus writes them to a folder; the corpus
// test loads each one in-process.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support/bmp_writer.hpp"

namespace bmpcorpus {

struct Seed {
  std::string name;  // also the file name
  std::vector<std::uint8_t> bytes;
  bool valid;  // whether the loader must accept it
};

inline void SetU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void SetU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Every pixel distinct enough that a swapped row or channel shows.
inline std::vector<std::uint8_t> Pattern(int width, int height) {
  return testbmp::Bmp24(width, height, [](int x, int y) {
    return testbmp::Rgb{static_cast<std::uint8_t>(37 * x + 11 * y + 1),
                        static_cast<std::uint8_t>(5 * x + 59 * y + 2),
                        static_cast<std::uint8_t>(x ^ (3 * y) ^ 0xA5)};
  });
}

// Turns a bottom-up file into the same picture stored top row first.
inline std::vector<std::uint8_t> TopDown(std::vector<std::uint8_t> bytes, int width, int height) {
  const std::size_t stride = static_cast<std::size_t>((width * 3 + 3) & ~3);
  const std::vector<std::uint8_t> bottomUp = bytes;
  for (int r = 0; r < height; ++r)
    std::copy_n(&bottomUp[54 + r * stride], stride, &bytes[54 + (height - 1 - r) * stride]);
  SetU32(bytes, 22, static_cast<std::uint32_t>(-height));
  return bytes;
}

// The same picture with a larger info header (V4: 108 bytes, V5: 124 bytes)
// and the pixels moved behind it.
inline std::vector<std::uint8_t> WithInfoHeader(const std::vector<std::uint8_t>& bytes,
                                                std::uint32_t infoSize) {
  std::vector<std::uint8_t> out(bytes.begin(), bytes.begin() + 54);
  out.resize(14 + infoSize, 0);
  out.insert(out.end(), bytes.begin() + 54, bytes.end());
  SetU32(out, 2, static_cast<std::uint32_t>(out.size()));
  SetU32(out, 10, 14 + infoSize);
  SetU32(out, 14, infoSize);
  return out;
}

// A file of another depth: the headers, a palette when it has one, then
// `rowBytes` bytes a row of a simple ramp.
inline std::vector<std::uint8_t> OtherDepth(int width, int height, int bits, std::uint32_t compression,
                                            int paletteEntries) {
  const int stride = ((width * bits + 31) / 32) * 4;
  const std::uint32_t offset = 54 + 4 * paletteEntries;
  std::vector<std::uint8_t> b{'B', 'M'};
  testbmp::Put32(b, offset + stride * height);
  testbmp::Put32(b, 0);
  testbmp::Put32(b, offset);
  testbmp::Put32(b, 40);
  testbmp::Put32(b, width);
  testbmp::Put32(b, height);
  testbmp::Put16(b, 1);
  testbmp::Put16(b, bits);
  testbmp::Put32(b, compression);
  testbmp::Put32(b, stride * height);
  testbmp::Put32(b, 2835);
  testbmp::Put32(b, 2835);
  testbmp::Put32(b, paletteEntries);
  testbmp::Put32(b, 0);
  for (int i = 0; i < paletteEntries; ++i) testbmp::Put32(b, 0x010101u * (i & 0xFF));
  for (int i = 0; i < stride * height; ++i) b.push_back(static_cast<std::uint8_t>(i * 7));
  return b;
}

// A small RLE8 stream: runs, an absolute run, end of line, end of picture.
inline std::vector<std::uint8_t> Rle8(int width, int height) {
  std::vector<std::uint8_t> b = OtherDepth(width, height, 8, 1, 256);
  b.resize(54 + 4 * 256);
  for (int y = 0; y < height; ++y) {
    b.insert(b.end(), {static_cast<std::uint8_t>(width / 2), 0x20});
    b.insert(b.end(), {0, 3, 1, 2, 3, 0});  // absolute: three pixels, padded to a word
    b.insert(b.end(), {0, 0});              // end of line
  }
  b.insert(b.end(), {0, 1});  // end of picture
  SetU32(b, 2, static_cast<std::uint32_t>(b.size()));
  SetU32(b, 34, static_cast<std::uint32_t>(b.size() - 54 - 4 * 256));
  return b;
}

inline std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  const auto add = [&seeds](std::string name, std::vector<std::uint8_t> bytes, bool valid) {
    seeds.push_back(Seed{std::move(name), std::move(bytes), valid});
  };
  const auto lie32 = [](std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    SetU32(bytes, at, value);
    return bytes;
  };
  const auto lie16 = [](std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    SetU16(bytes, at, value);
    return bytes;
  };
  const auto truncated = [](std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
  };

  // Valid 24-bit pictures.
  add("valid-1x1.bmp", Pattern(1, 1), true);
  add("valid-1x1-topdown.bmp", TopDown(Pattern(1, 1), 1, 1), true);
  add("valid-2x3.bmp", Pattern(2, 3), true);
  add("valid-3x2.bmp", Pattern(3, 2), true);
  add("valid-5x3-odd.bmp", Pattern(5, 3), true);
  add("valid-7x5-topdown.bmp", TopDown(Pattern(7, 5), 7, 5), true);
  add("valid-13x1.bmp", Pattern(13, 1), true);
  add("valid-1x17.bmp", Pattern(1, 17), true);
  add("valid-64x64.bmp", Pattern(64, 64), true);
  add("valid-4096x1-wide.bmp", Pattern(4096, 1), true);
  add("valid-v4-header.bmp", WithInfoHeader(Pattern(5, 3), 108), true);
  add("valid-v5-header.bmp", WithInfoHeader(Pattern(3, 4), 124), true);
  {
    auto gap = Pattern(3, 3);  // pixels 16 bytes behind the headers
    gap.insert(gap.begin() + 54, 16, 0xEE);
    SetU32(gap, 10, 70);
    add("valid-gap-before-pixels.bmp", gap, true);
  }
  {
    auto tail = Pattern(3, 3);
    tail.insert(tail.end(), 9, 0x77);
    add("valid-trailing-bytes.bmp", tail, true);
  }

  // Other depths and compressions.
  add("depth-1.bmp", OtherDepth(9, 4, 1, 0, 2), false);
  add("depth-4.bmp", OtherDepth(9, 4, 4, 0, 16), false);
  add("depth-8.bmp", OtherDepth(9, 4, 8, 0, 256), false);
  add("depth-16.bmp", OtherDepth(9, 4, 16, 0, 0), false);
  add("depth-32.bmp", OtherDepth(9, 4, 32, 0, 0), false);
  add("rle8.bmp", Rle8(8, 4), false);
  add("rle4.bmp", lie16(lie32(Rle8(8, 4), 30, 2), 28, 4), false);
  add("rle8-as-24bit.bmp", lie16(Rle8(8, 4), 28, 24), false);
  {
    auto fields = OtherDepth(5, 3, 16, 3, 0);  // 5-6-5 masks behind the info header
    std::vector<std::uint8_t> masks;
    testbmp::Put32(masks, 0xF800);
    testbmp::Put32(masks, 0x07E0);
    testbmp::Put32(masks, 0x001F);
    fields.insert(fields.begin() + 54, masks.begin(), masks.end());
    SetU32(fields, 10, 66);
    add("bitfields-16.bmp", fields, false);
  }
  add("bitfields-24.bmp", lie32(Pattern(4, 4), 30, 3), false);
  add("v5-bitfields-32.bmp", lie32(WithInfoHeader(OtherDepth(4, 4, 32, 3, 0), 124), 30, 3), false);
  add("jpeg-compression.bmp", lie32(Pattern(4, 4), 30, 4), false);

  // Truncated files.
  add("empty.bmp", {}, false);
  add("magic-only.bmp", {'B', 'M'}, false);
  add("header-53-bytes.bmp", truncated(Pattern(4, 4), 53), false);
  add("headers-only.bmp", truncated(Pattern(4, 4), 54), false);
  add("half-the-rows.bmp", truncated(Pattern(16, 16), 54 + 48 * 8), false);
  add("last-byte-missing.bmp", truncated(Pattern(5, 3), 54 + 16 * 3 - 1), false);

  // Headers that lie.
  add("not-bm.bmp", lie16(Pattern(4, 4), 0, 'M' | 'B' << 8), false);
  add("offset-past-end.bmp", lie32(Pattern(4, 4), 10, 1u << 30), false);
  add("offset-inside-header.bmp", lie32(Pattern(4, 4), 10, 20), false);
  add("offset-zero.bmp", lie32(Pattern(4, 4), 10, 0), false);
  add("offset-one-row-late.bmp", lie32(Pattern(4, 4), 10, 54 + 12), false);
  add("offset-max.bmp", lie32(Pattern(4, 4), 10, 0xFFFFFFFFu), false);
  add("info-size-12.bmp", lie32(Pattern(4, 4), 14, 12), false);
  add("info-size-zero.bmp", lie32(Pattern(4, 4), 14, 0), false);
  add("info-size-past-pixels.bmp", lie32(Pattern(4, 4), 14, 41), false);
  add("info-size-max.bmp", lie32(Pattern(4, 4), 14, 0xFFFFFFFFu), false);
  add("planes-zero.bmp", lie16(Pattern(4, 4), 26, 0), false);
  add("planes-two.bmp", lie16(Pattern(4, 4), 26, 2), false);

  // Dimensions out of range.
  add("width-zero.bmp", lie32(Pattern(4, 4), 18, 0), false);
  add("width-negative.bmp", lie32(Pattern(4, 4), 18, static_cast<std::uint32_t>(-4)), false);
  add("height-zero.bmp", lie32(Pattern(4, 4), 22, 0), false);
  add("width-16385.bmp", lie32(Pattern(4, 4), 18, 16385), false);
  add("height-16385.bmp", lie32(Pattern(4, 4), 22, 16385), false);
  add("height-minus-16385.bmp", lie32(Pattern(4, 4), 22, static_cast<std::uint32_t>(-16385)), false);
  add("height-int-min.bmp", lie32(Pattern(4, 4), 22, 0x80000000u), false);
  add("width-int-max.bmp", lie32(Pattern(4, 4), 18, 0x7FFFFFFFu), false);
  add("huge-16384-square.bmp", lie32(lie32(Pattern(4, 4), 18, 16384), 22, 16384), false);
  add("rows-longer-than-file.bmp", lie32(Pattern(4, 4), 18, 1000), false);
  return seeds;
}

}  // namespace bmpcorpus
