// winterhain-capture: renders the real scene off screen at chosen frame
// deltas and writes the last frame as a PNG and/or the flakes as a table.
//
//   winterhain-capture --deltas LIST [--png FILE] [--flakes FILE] [--size WxH]
//
// LIST is comma-separated items D (one frame of D ms) or DxN (N such frames).
// The scene is built exactly as the program builds it, without the music
// and the display switch, and reads Data/ from the working directory.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture_options.hpp"
#include "platform/platform.hpp"
#include "png_writer.hpp"
#include "scene_capture.hpp"
#include "shell/scene_wnd.hpp"

namespace {

bool WriteFlakes(const std::string& path, const CSnowfall& snowfall) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (!file) return false;
  const SnowFlake* flakes = snowfall.Flakes();
  for (int i = 0; i < CSnowfall::kFlakeCount; ++i) {
    const SnowFlake& f = flakes[i];
    std::fprintf(file, "%d %.9g %.9g %.9g %.9g %.9g %.9g %.9g\n", i, f.x, f.y, f.z, f.angleX,
                 f.angleY, f.angleZ, f.speed);
  }
  return std::fclose(file) == 0;
}

int Capture(const CaptureOptions& options) {
  SceneCapture capture(options.width, options.height);
  if (!capture.Ok()) {
    std::fprintf(stderr, "winterhain-capture: cannot render off screen: %s\n",
                 platform::LastError().c_str());
    return 1;
  }
  capture.Run(options.deltas, !options.pngPath.empty());
  int status = 0;
  if (!options.flakesPath.empty() && !WriteFlakes(options.flakesPath, capture.Window().Snowfall())) {
    std::fprintf(stderr, "winterhain-capture: cannot write %s\n", options.flakesPath.c_str());
    status = 1;
  }
  if (!options.pngPath.empty() &&
      !WritePng(options.pngPath, options.width, options.height, capture.LastFrame())) {
    std::fprintf(stderr, "winterhain-capture: cannot write %s\n", options.pngPath.c_str());
    status = 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr,
                 "winterhain-capture: %s\n"
                 "usage: winterhain-capture --deltas LIST [--png FILE] [--flakes FILE] [--size WxH]\n",
                 error.c_str());
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  const int status = Capture(*options);
  platform::Shutdown();
  return status;
}
