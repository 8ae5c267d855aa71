#include "framework/bitmap.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct Bitmap {
  int width = 0;
  int height = 0;
  int widthBytes = 0;
  std::vector<std::uint8_t> rows;  // bottom row first
};

namespace {
constexpr std::size_t kHeaderBytes = 54;  // file header + BITMAPINFOHEADER

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t S32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

int StrideOf(int width) { return (width * 3 + 3) & ~3; }

// Opens regular files only: opening a FIFO would wait for a writer for ever,
// and a device or FIFO never ends; such a picture counts as missing.
std::FILE* OpenRegularFile(const char* path) {
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  std::FILE* file = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

// Reads the header bytes and the file size without reading any pixels.
bool ReadHeader(std::FILE* file, std::uint8_t (&header)[kHeaderBytes], std::uint64_t& fileSize) {
  const bool complete = std::fread(header, 1, kHeaderBytes, file) == kHeaderBytes &&
                        std::fseek(file, 0, SEEK_END) == 0;
  const long size = complete ? std::ftell(file) : -1;
  fileSize = size < 0 ? 0 : static_cast<std::uint64_t>(size);
  return complete && size >= 0;
}

// Reads the rows of a picture whose header has been checked, bottom row
// first whichever order the file keeps them in; the padding stays zero.
Bitmap* ReadRows(std::FILE* file, const std::uint8_t (&header)[kHeaderBytes]) {
  const int width = S32(header + 18);
  const std::int32_t storedHeight = S32(header + 22);
  const int height = storedHeight < 0 ? -storedHeight : storedHeight;
  auto* bitmap = new Bitmap{width, height, StrideOf(width), {}};
  bitmap->rows.assign(static_cast<std::size_t>(bitmap->widthBytes) * height, 0);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  bool complete = std::fseek(file, static_cast<long>(U32(header + 10)), SEEK_SET) == 0;
  for (int stored = 0; complete && stored < height; ++stored) {
    const int row = storedHeight < 0 ? height - 1 - stored : stored;
    complete = std::fread(&bitmap->rows[static_cast<std::size_t>(row) * bitmap->widthBytes], 1,
                          rowBytes, file) == rowBytes &&
               std::fseek(file, bitmap->widthBytes - static_cast<long>(rowBytes), SEEK_CUR) == 0;
  }
  if (complete) return bitmap;
  delete bitmap;
  return nullptr;
}
}  // namespace

bool IsAcceptableBmpHeader(const std::uint8_t* bytes, std::size_t available, std::uint64_t fileSize) {
  if (available < kHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const std::uint32_t pixelOffset = U32(bytes + 10);
  const std::uint32_t infoSize = U32(bytes + 14);
  const std::int32_t width = S32(bytes + 18);
  const std::int32_t height = S32(bytes + 22);
  if (infoSize < 40 || U16(bytes + 26) != 1 || U16(bytes + 28) != 24 || U32(bytes + 30) != 0)
    return false;
  if (width <= 0 || width > kMaxBitmapSide || height == 0 || height < -kMaxBitmapSide ||
      height > kMaxBitmapSide)
    return false;
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  const std::uint64_t pixelBytes = rows * static_cast<std::uint64_t>(StrideOf(width));
  // In 64 bits: a header size near 2^32 must not wrap round to a small sum.
  return pixelOffset >= 14 + std::uint64_t{infoSize} && pixelOffset <= fileSize &&
         pixelBytes <= fileSize - pixelOffset;
}

BitmapHandle LoadBitmapImage(const char* path) {
  std::FILE* file = path ? OpenRegularFile(path) : nullptr;
  if (!file) return nullptr;
  std::uint8_t header[kHeaderBytes];
  std::uint64_t fileSize = 0;
  // The rows are read from the very file that was checked, not whatever
  // the path names now.
  Bitmap* bitmap = ReadHeader(file, header, fileSize) &&
                           IsAcceptableBmpHeader(header, sizeof header, fileSize)
                       ? ReadRows(file, header)
                       : nullptr;
  std::fclose(file);
  return bitmap;
}

bool GetBitmapInfo(BitmapHandle bitmap, BitmapInfo& info) {
  if (!bitmap) return false;
  info = BitmapInfo{bitmap->width, bitmap->height, bitmap->widthBytes, 24, bitmap->rows.data()};
  return true;
}

void DeleteBitmap(BitmapHandle bitmap) { delete bitmap; }
