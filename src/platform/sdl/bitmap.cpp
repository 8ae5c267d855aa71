#include "platform/bitmap.hpp"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

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

// Reads the header bytes and the file size without reading any pixels, and
// leaves the file at its start.
bool ReadHeader(std::FILE* file, std::uint8_t (&header)[kHeaderBytes], std::uint64_t& fileSize) {
  const bool complete = std::fread(header, 1, kHeaderBytes, file) == kHeaderBytes &&
                        std::fseek(file, 0, SEEK_END) == 0;
  const long size = complete ? std::ftell(file) : -1;
  fileSize = size < 0 ? 0 : static_cast<std::uint64_t>(size);
  return complete && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
}

// SDL keeps the file's byte order for 24-bit pictures (blue, green, red)
// and hands rows top first; lay them out bottom first.
Bitmap* FromSurface(SDL_Surface* surface) {
  if (surface->format->BitsPerPixel != 24 || surface->w <= 0 || surface->h <= 0) return nullptr;
  auto* bitmap = new Bitmap{surface->w, surface->h, StrideOf(surface->w), {}};
  bitmap->rows.assign(static_cast<std::size_t>(bitmap->widthBytes) * bitmap->height, 0);
  const auto* pixels = static_cast<const std::uint8_t*>(surface->pixels);
  for (int row = 0; row < bitmap->height; ++row)
    std::memcpy(&bitmap->rows[static_cast<std::size_t>(bitmap->height - 1 - row) * bitmap->widthBytes],
                pixels + static_cast<std::size_t>(row) * surface->pitch,
                static_cast<std::size_t>(bitmap->width) * 3);
  return bitmap;
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
  // SDL reads the very file that was checked, not whatever the path names now.
  SDL_RWops* stream = ReadHeader(file, header, fileSize) &&
                              IsAcceptableBmpHeader(header, sizeof header, fileSize)
                          ? SDL_RWFromFP(file, SDL_TRUE)
                          : nullptr;
  if (!stream) {
    std::fclose(file);
    return nullptr;
  }
  SDL_Surface* surface = SDL_LoadBMP_RW(stream, 1);
  if (!surface) return nullptr;
  Bitmap* bitmap = FromSurface(surface);
  SDL_FreeSurface(surface);
  return bitmap;
}

bool GetBitmapInfo(BitmapHandle bitmap, BitmapInfo& info) {
  if (!bitmap) return false;
  info = BitmapInfo{bitmap->width, bitmap->height, bitmap->widthBytes, 24, bitmap->rows.data()};
  return true;
}

void DeleteBitmap(BitmapHandle bitmap) { delete bitmap; }

}  // namespace platform
