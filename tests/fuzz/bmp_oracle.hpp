// What the BMP loader must make of a file's bytes, worked out independently
// of it, in 64-bit arithmetic: whether the file is accepted, and the rows it
// must hand out (bottom row first, B-G-R, each row padded with zeros to a
// multiple of 4 bytes). Shared by the fuzzer and the corpus test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace bmporacle {

constexpr std::int64_t kMaxSide = 16384;  // the loader's kMaxBitmapSide

inline std::uint64_t U32(const std::uint8_t* p) {
  return std::uint64_t{p[0]} | std::uint64_t{p[1]} << 8 | std::uint64_t{p[2]} << 16 |
         std::uint64_t{p[3]} << 24;
}
inline std::int64_t S32(const std::uint8_t* p) {
  const std::uint64_t u = U32(p);
  return u >= (std::uint64_t{1} << 31) ? static_cast<std::int64_t>(u) - (std::int64_t{1} << 32)
                                       : static_cast<std::int64_t>(u);
}
inline std::uint64_t U16(const std::uint8_t* p) { return std::uint64_t{p[0]} | std::uint64_t{p[1]} << 8; }

inline std::int64_t Stride(std::int64_t width) { return (width * 3 + 3) / 4 * 4; }

struct Expectation {
  bool accepted = false;
  std::string reason;  // why it is refused
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, always positive
  std::int64_t stride = 0;
  std::vector<std::uint8_t> rows;  // only when accepted
};

// A 24-bit uncompressed file whose header (file header plus an info header
// of at least 40 bytes) and pixel rows lie inside the file.
inline Expectation Expect(const std::uint8_t* bytes, std::size_t size) {
  Expectation e;
  const auto refuse = [&e](const char* why) {
    e.reason = why;
    return e;
  };
  if (size < 54) return refuse("shorter than the headers");
  if (bytes[0] != 'B' || bytes[1] != 'M') return refuse("no BM");
  const std::uint64_t offset = U32(bytes + 10);
  const std::uint64_t infoSize = U32(bytes + 14);
  const std::int64_t width = S32(bytes + 18);
  const std::int64_t height = S32(bytes + 22);
  if (infoSize < 40) return refuse("info header too small");
  if (U16(bytes + 26) != 1) return refuse("planes");
  if (U16(bytes + 28) != 24) return refuse("not 24 bits");
  if (U32(bytes + 30) != 0) return refuse("compressed");
  if (width < 1 || width > kMaxSide) return refuse("width");
  if (height == 0 || height > kMaxSide || height < -kMaxSide) return refuse("height");
  if (14 + infoSize > offset) return refuse("pixels start inside the headers");
  if (offset > size) return refuse("pixels start past the end");
  const std::int64_t rows = height < 0 ? -height : height;
  const std::int64_t stride = Stride(width);
  if (offset + static_cast<std::uint64_t>(rows * stride) > size) return refuse("rows past the end");
  e.accepted = true;
  e.width = width;
  e.height = rows;
  e.stride = stride;
  e.rows.assign(static_cast<std::size_t>(rows * stride), 0);
  for (std::int64_t r = 0; r < rows; ++r) {
    // Stored row r counts from the bottom; a negative height stores the top first.
    const std::int64_t fileRow = height < 0 ? rows - 1 - r : r;
    std::memcpy(&e.rows[static_cast<std::size_t>(r * stride)],
                bytes + offset + static_cast<std::uint64_t>(fileRow * stride),
                static_cast<std::size_t>(width * 3));
  }
  return e;
}

}  // namespace bmporacle
