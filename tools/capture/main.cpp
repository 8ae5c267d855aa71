// winterhain-capture: renders the real scene off screen at chosen frame
// deltas and writes the last frame as a PNG and/or the flakes as a table.
//
//   winterhain-capture --deltas LIST [--png FILE] [--flakes FILE] [--size WxH]
//   winterhain-capture --help
//
// LIST is comma-separated items D (one frame of D ms) or DxN (N such frames).
// The output files are opened before the first frame is rendered.
// The scene is built exactly as the program builds it, without the music
// and the display switch, and reads Data/ from the working directory.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "capture_options.hpp"
#include "output_file.hpp"
#include "platform/platform.hpp"
#include "png_writer.hpp"
#include "scene_capture.hpp"
#include "shell/scene_wnd.hpp"

namespace {

constexpr const char* kUsage =
    "usage: winterhain-capture --deltas LIST [--png FILE] [--flakes FILE] [--size WxH]\n";

constexpr const char* kHelp =
    "Renders the Winterhain scene off screen, frame by frame at chosen frame\n"
    "times, and writes the last frame and/or the snowflakes. Reads Data/ from\n"
    "the working directory.\n"
    "\n"
    "  --deltas LIST   comma-separated frame deltas in milliseconds, each D\n"
    "                  (one frame) or DxN (N frames of D ms), D >= 0.001, all of\n"
    "                  them together at most 1e12 ms;\n"
    "                  e.g. 16x60,10800. \"\" renders no frame\n"
    "  --png FILE      write the last frame as a PNG\n"
    "  --flakes FILE   write the 500 flakes, one a line:\n"
    "                  index x y z angle_x angle_y angle_z speed\n"
    "  --size WxH      picture size (default 640x480, at most 8192x8192)\n"
    "  --help          print this help\n";

void SayWriteFailure(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "winterhain-capture: cannot write %s: %s\n", path.c_str(), reason.c_str());
}

bool WriteFlakes(std::FILE* file, const CSnowfall& snowfall, std::string& error) {
  const SnowFlake* flakes = snowfall.Flakes();
  for (int i = 0; i < CSnowfall::kFlakeCount; ++i) {
    const SnowFlake& f = flakes[i];
    if (std::fprintf(file, "%d %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", i, f.x, f.y, f.z,
                     f.angleX, f.angleY, f.angleZ, f.speed) < 0) {
      error = std::strerror(errno);
      return false;
    }
  }
  return true;
}

// Writes one result through WRITE(stream, error) into OUT, opened for PATH.
template <typename Write>
bool WriteResult(OutputFile& out, const std::string& path, Write write) {
  std::string error;
  std::FILE* stream = out.BeginWrite(error);
  if (!stream) {
    SayWriteFailure(path, error);
    return false;
  }
  const bool written = write(stream, error);
  // Closed even after a failed write; a file this run made is then removed.
  std::string closeError;
  const bool finished = out.Finish(closeError);
  if (written && finished) return true;
  SayWriteFailure(path, written ? closeError : error);
  return false;
}

int Capture(const CaptureOptions& options) {
  OutputFile png, flakes;
  std::string error;
  if (!options.pngPath.empty() && !png.Open(options.pngPath, error)) {
    SayWriteFailure(options.pngPath, error);
    return 1;
  }
  if (!options.flakesPath.empty() && !flakes.Open(options.flakesPath, error)) {
    SayWriteFailure(options.flakesPath, error);
    return 1;
  }
  SceneCapture capture(options.width, options.height);
  if (!capture.Ok()) {
    std::fprintf(stderr, "winterhain-capture: cannot render off screen: %s\n",
                 platform::LastError().c_str());
    return 1;
  }
  capture.Run(options.deltas, !options.pngPath.empty());
  int status = 0;
  if (!options.flakesPath.empty() &&
      !WriteResult(flakes, options.flakesPath, [&](std::FILE* f, std::string& e) {
        return WriteFlakes(f, capture.Window().Snowfall(), e);
      }))
    status = 1;
  if (!options.pngPath.empty() &&
      !WriteResult(png, options.pngPath, [&](std::FILE* f, std::string& e) {
        return WritePng(f, options.width, options.height, capture.LastFrame(), e);
      }))
    status = 1;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "winterhain-capture: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (options->help) {
    std::printf("%s\n%s", kUsage, kHelp);
    return 0;
  }
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  const int status = Capture(*options);
  platform::Shutdown();
  return status;
}
