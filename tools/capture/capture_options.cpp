#include "capture_options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {
constexpr long kMaxFrames = 100'000'000;

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text.c_str(), &end);
  return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool ParseCount(const std::string& text, long& count) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  count = std::strtol(text.c_str(), nullptr, 10);
  return errno == 0 && count >= 1 && count <= kMaxFrames;
}

bool ParseItem(const std::string& item, std::vector<double>& deltas, std::string& error) {
  const std::size_t times = item.find('x');
  double delta = 0;
  long count = 1;
  if (!ParseNumber(item.substr(0, times), delta) ||
      (times != std::string::npos && !ParseCount(item.substr(times + 1), count))) {
    error = "bad frame delta \"" + item + "\" (expected D or DxN, e.g. 16 or 16x100)";
    return false;
  }
  if (delta == 0) {
    // The frame loop waits for the clock to change; it never sees a 0 delta.
    error = "a frame delta of 0 ms cannot happen: the frame loop waits for the clock to move";
    return false;
  }
  if (deltas.size() + static_cast<std::size_t>(count) > static_cast<std::size_t>(kMaxFrames)) {
    error = "too many frames (at most 100000000)";
    return false;
  }
  deltas.insert(deltas.end(), static_cast<std::size_t>(count), delta);
  return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t times = text.find('x');
  long w = 0, h = 0;
  if (times == std::string::npos || !ParseCount(text.substr(0, times), w) ||
      !ParseCount(text.substr(times + 1), h) || w > 8192 || h > 8192)
    return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}
}  // namespace

bool ParseDeltaList(const std::string& list, std::vector<double>& deltas, std::string& error) {
  deltas.clear();
  if (list.empty()) return true;
  std::stringstream items(list);
  std::string item;
  while (std::getline(items, item, ','))
    if (!ParseItem(item, deltas, error)) return false;
  if (list.back() == ',') {
    error = "empty item at the end of the frame delta list";
    return false;
  }
  return true;
}

std::optional<CaptureOptions> ParseCaptureOptions(const std::vector<std::string>& args,
                                                  std::string& error) {
  CaptureOptions options;
  bool haveDeltas = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) {
      error = "unknown option or missing value: " + name;
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (name == "--deltas") {
      if (!ParseDeltaList(value, options.deltas, error)) return std::nullopt;
      haveDeltas = true;
    } else if (name == "--png") {
      options.pngPath = value;
    } else if (name == "--flakes") {
      options.flakesPath = value;
    } else if (name == "--size") {
      if (!ParseSize(value, options.width, options.height)) {
        error = "bad size \"" + value + "\" (expected WxH, e.g. 640x480)";
        return std::nullopt;
      }
    } else {
      error = "unknown option: " + name;
      return std::nullopt;
    }
  }
  if (!haveDeltas) {
    error = "--deltas is required";
    return std::nullopt;
  }
  if (!options.pngPath.empty() && options.deltas.empty()) {
    error = "--png needs at least one frame in --deltas";
    return std::nullopt;
  }
  return options;
}
