// Switches the display to the scene's mode for as long as the scene runs.
#pragma once

#include <cstdint>

class CDisplayMode {
 public:
  CDisplayMode();
  virtual ~CDisplayMode();  // puts the desktop's mode back

  // True when the display now runs in that mode.
  bool SetMode(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel);
  // Back to the desktop's own mode; harmless when nothing was switched.
  void Restore();
};
