#include "shell/display_mode.hpp"

#include "platform/display_mode.hpp"

CDisplayMode::CDisplayMode() = default;

CDisplayMode::~CDisplayMode() { Restore(); }

bool CDisplayMode::SetMode(std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel) {
  return platform::SwitchDisplayMode(width, height, bitsPerPixel);
}

void CDisplayMode::Restore() { platform::RestoreDisplayMode(); }
