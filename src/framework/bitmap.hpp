// BMP pictures read from files, as the texture code uploads them: rows from
// the bottom of the picture to the top, three bytes a pixel (blue, green,
// red), each row padded to a multiple of 4 bytes. Only 24-bit uncompressed
// files are accepted; anything else, and any file whose header does not fit
// its contents, is refused before pixels are read. Plain file reading: such
// a file is its header and its rows, so no image library is needed.
//
// Does:
//  - 24-bit uncompressed BMP files of either row order, up to kMaxBitmapSide
// Does not:
//  - palettes, 16 or 32 bits, compression, other file formats
//  - read from FIFOs or devices: only regular files
#pragma once

#include <cstdint>
#include <vector>

struct Bitmap;  // opaque; holds the pixels while a texture is loaded
using BitmapHandle = Bitmap*;

struct BitmapInfo {
  int width = 0;
  int height = 0;
  int widthBytes = 0;  // row stride, a multiple of 4
  int bitsPerPixel = 0;
  const void* bits = nullptr;  // first stored row: the bottom of the picture
};

// nullptr when the file is missing, unreadable or not a 24-bit uncompressed
// BMP that fits its header.
BitmapHandle LoadBitmapImage(const char* path);
bool GetBitmapInfo(BitmapHandle bitmap, BitmapInfo& info);
void DeleteBitmap(BitmapHandle bitmap);

// Largest side accepted, far above any sensible texture.
constexpr int kMaxBitmapSide = 16384;

// Checks the header bytes of a BMP file of `fileSize` bytes: true when it is
// a 24-bit uncompressed picture whose pixel rows lie inside the file.
bool IsAcceptableBmpHeader(const std::uint8_t* bytes, std::size_t available, std::uint64_t fileSize);
