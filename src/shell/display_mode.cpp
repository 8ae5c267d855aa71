#include "shell/display_mode.hpp"

#include "platform/platform.hpp"

CDisplayMode::CDisplayMode() = default;

CDisplayMode::~CDisplayMode() { Restore(); }

// An X server has one depth: the bits per pixel asked for are the scene's
// wish, not a mode of their own.
bool CDisplayMode::SetMode(std::uint32_t width, std::uint32_t height, std::uint32_t) {
  return platform::SetDisplayMode(platform::DisplaySize{width, height});
}

void CDisplayMode::Restore() { platform::SetDisplayMode(std::nullopt); }
