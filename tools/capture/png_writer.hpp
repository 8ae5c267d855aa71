// 8-bit RGB PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb` holds width * height * 3 bytes, top row first. False on failure.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
