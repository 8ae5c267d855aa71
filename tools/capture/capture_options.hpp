// The capture tool's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CaptureOptions {
  std::vector<double> deltas;  // one frame delta (ms) per frame, in order
  std::string pngPath;         // empty: no picture
  std::string flakesPath;      // empty: no flake table
  int width = 640;
  int height = 480;
  bool help = false;           // --help: print the usage and do nothing else
};

// Parses `--deltas LIST [--png FILE] [--flakes FILE] [--size WxH]`, or
// `--help` (which stops the parsing). On a bad argument returns nothing and
// sets `error` to one readable sentence.
std::optional<CaptureOptions> ParseCaptureOptions(const std::vector<std::string>& args,
                                                  std::string& error);

// Parses LIST: comma-separated `D` or `DxN` items; "" is no frame. Each D
// is a frame delta of at least 0.001 ms; together they are at most 1e12 ms.
bool ParseDeltaList(const std::string& list, std::vector<double>& deltas, std::string& error);
