#include "png_writer.hpp"

#include <png.h>

#include <cerrno>
#include <cstring>

namespace {

// Where libpng's callbacks leave the reason of a failure.
struct PngSink {
  std::FILE* file;
  std::string reason;
};

// The same sink serves as libpng's error pointer and as its I/O pointer.
PngSink& SinkOf(png_structp png) { return *static_cast<PngSink*>(png_get_io_ptr(png)); }

void WriteBytes(png_structp png, png_bytep data, png_size_t length) {
  if (std::fwrite(data, 1, length, SinkOf(png).file) != length) {
    SinkOf(png).reason = std::strerror(errno);
    png_error(png, "write failed");
  }
}

void Flush(png_structp png) {
  if (std::fflush(SinkOf(png).file) != 0) {
    SinkOf(png).reason = std::strerror(errno);
    png_error(png, "flush failed");
  }
}

void OnError(png_structp png, png_const_charp message) {
  PngSink& sink = *static_cast<PngSink*>(png_get_error_ptr(png));
  if (sink.reason.empty()) sink.reason = message;
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// libpng reports a failure by jumping back here.
bool WriteImage(png_structp png, png_infop info, PngSink& sink, int width, int height,
                const std::vector<std::uint8_t>& rgb) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_set_write_fn(png, &sink, WriteBytes, Flush);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int row = 0; row < height; ++row)
    png_write_row(png, &rgb[static_cast<std::size_t>(row) * width * 3]);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool WritePng(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error) {
  PngSink sink{file, ""};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool written = info && WriteImage(png, info, sink, width, height, rgb);
  if (!written) error = info ? sink.reason : "out of memory";
  png_destroy_write_struct(&png, &info);
  return written;
}
