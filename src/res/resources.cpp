// The program's resources: the application title and the window icon.
#include "framework/resources.hpp"

#include <array>
#include <cstdint>

#include "platform/platform.hpp"
#include "res/resource.hpp"

namespace {
// A snowy fir under a night sky, 32 x 32, one character a pixel.
constexpr const char* kIconArt[32] = {
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn",
    "nnnnnnnnnnnnnnn*nnnnnnnnnnnnnnnn",
    "nnnnnnnnnnnnnn***nnnnnnnnnnnnnnn",
    "nnnnnnnnnnnnnnn*nnnnnnnnnnn.nnnn",
    "nnnn.nnnnnnnnnnWnnnnnnnnnnnnnnnn",
    "nnnnnnnnnnnnnnWgWnnnnnnnnnnnnnnn",
    "nnnnnnnnnnnnnWgggWnnnnnnnnnnnnnn",
    "nnnnnnnnnnnnngggggnnnnnnnn.nnnnn",
    "nnnnnnnnnnnnWggGggWnnnnnnnnnnnnn",
    "nnnnnnnnnnnWgggggggWnnnnnnnnnnnn",
    "nn.nnnnnnnnnggggGgggnnnnnnnnnnnn",
    "nnnnnnnnnnWWgggggggWWnnnnnnnnnnn",
    "nnnnnnnnnWggggGgggggGWnnnnnnnnnn",
    "nnnnnnnnnnggggggggggggnnnnnnn.nn",
    "nnnnnnnnnWgGgggggGgggggWnnnnnnnn",
    "nnnnnnnnWWggggggggggggWWWnnnnnnn",
    "nnnnnnnWggggGgggggggGggggWnnnnnn",
    "nnnn.nnnnggggggggGggggggggnnnnnn",
    "nnnnnnnnWgggGgggggggggGgggWnnnnn",
    "nnnnnnWWggggggggGgggggggggWWnnnn",
    "nnnnnWgggGgggggggggggGggggggWnnn",
    "nnnnnnggggggggGggggggggggGggnnnn",
    "nnnnWggGggggggggggGggggggggggWnn",
    "nnnWWWWWWWWWWWWbbbWWWWWWWWWWWWWn",
    "nnnnnnnnnnnnnnnbbbnnnnnnnnnnnnnn",
    "sssssssssssssssbbbssssssssssssss",
    "ssssssssssssssssssssssssssssssss",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
    "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
};

constexpr std::uint32_t ColourOf(char c) {
  switch (c) {
    case 'n': return 0xFF0B1E4Au;  // night sky
    case '.': return 0xFFC8D8FFu;  // a star
    case '*': return 0xFFFFD84Au;  // the star on top
    case 'g': return 0xFF1E6B2Eu;  // needles
    case 'G': return 0xFF2F8F44u;  // lit needles
    case 'W': return 0xFFF4F8FFu;  // snow
    case 's': return 0xFFB9C9E8u;  // snow in shadow
    case 'b': return 0xFF6B4226u;  // trunk
    default: return 0xFFFF00FFu;
  }
}

std::array<std::uint32_t, 32 * 32> MakeIconPixels() {
  std::array<std::uint32_t, 32 * 32> pixels{};
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) pixels[y * 32 + x] = ColourOf(kIconArt[y][x]);
  return pixels;
}
}  // namespace

const char* AfxLoadString(UINT id) { return id == AFX_IDS_APP_TITLE ? "Winterhain" : nullptr; }

HICON AfxLoadIcon(UINT id) {
  static const std::array<std::uint32_t, 32 * 32> pixels = MakeIconPixels();
  static const platform::Icon icon{32, 32, pixels.data()};
  return id == IDR_MAINFRAME ? &icon : nullptr;
}
