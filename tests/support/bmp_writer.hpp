// Writes small BMP files for tests, so checks never depend on the real art.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace testbmp {

struct Rgb {
  std::uint8_t r, g, b;
};

inline void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The bytes of a 24-bit uncompressed BMP; pixel(x, y) with y = 0 the top row
// as a viewer sees it. Rows are stored bottom first, padded to 4 bytes.
inline std::vector<std::uint8_t> Bmp24(int width, int height,
                                       const std::function<Rgb(int x, int y)>& pixel) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> out{'B', 'M'};
  Put32(out, 54 + stride * height);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, stride * height);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, row);
      out.insert(out.end(), {c.b, c.g, c.r});
    }
    out.resize(out.size() + (stride - width * 3), 0);
  }
  return out;
}

inline Rgb Solid(int, int, Rgb colour) { return colour; }

inline bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

inline bool WriteSolidBmp(const std::string& path, int width, int height, Rgb colour) {
  return WriteFile(path, Bmp24(width, height, [colour](int, int) { return colour; }));
}

}  // namespace testbmp
