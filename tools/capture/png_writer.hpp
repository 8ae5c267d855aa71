// 8-bit RGB PNG files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Writes `rgb` (width * height * 3 bytes, top row first) as a PNG to FILE,
// which stays open. False on failure, with the reason (the system's for a
// failed write, otherwise libpng's) in `error`.
bool WritePng(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error);
