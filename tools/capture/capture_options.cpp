#include "capture_options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "manual_clock.hpp"

namespace {
constexpr long kMaxFrames = 100'000'000;
// Frame deltas in milliseconds. A shorter one than the shortest may not move
// the manual clock at all, and the frame loop would wait for it forever. A
// frame may be of any length (the program's own clock jumps by hours after
// a suspend or a SIGSTOP); the whole run is bounded instead, so that its
// last reading still moves by the shortest delta (a double's step there is
// below 0.0003 ms) and fits the clock's 64-bit counter.
constexpr double kMinDelta = 0.001;
constexpr double kMaxRun = 1e12;
static_assert(kMaxRun / (std::int64_t{1} << 52) < kMinDelta / 2,
              "the shortest delta must move the clock at the end of the longest run");
static_assert(kMaxRun < static_cast<double>(std::numeric_limits<std::int64_t>::max()) /
                            ManualClock::kFrequency * 1000,
              "the longest run must fit the manual clock's counter");

// A number in C notation, the whole text. Infinities and overflows come back
// as +-HUGE_VAL, which the range check refuses with its reason.
bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return *end == '\0';
}

bool ParseCount(const std::string& text, long& count) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  count = std::strtol(text.c_str(), nullptr, 10);
  return errno == 0 && count >= 1 && count <= kMaxFrames;
}

// Why DELTA (written TEXT) cannot be a frame's time, or "" when it can.
std::string DeltaFault(const std::string& text, double delta) {
  const std::string what = "a frame delta of " + text + " ms ";
  if (std::isnan(delta)) return "frame delta " + text + " is not a number";
  if (delta < 0) return what + "cannot happen: the clock only moves forward";
  if (delta < kMinDelta)
    return what + "is too short: at least 0.001 ms, or the clock does not move and the frame "
                  "loop waits for it forever";
  return "";
}

bool ParseItem(const std::string& item, std::vector<double>& deltas, double& run,
               std::string& error) {
  const std::size_t times = item.find('x');
  const std::string number = item.substr(0, times);
  double delta = 0;
  long count = 1;
  if (!ParseNumber(number, delta) ||
      (times != std::string::npos && !ParseCount(item.substr(times + 1), count))) {
    error = "bad frame delta \"" + item + "\" (expected D or DxN, e.g. 16 or 16x100)";
    return false;
  }
  error = DeltaFault(number, delta);
  if (!error.empty()) return false;
  if (deltas.size() + static_cast<std::size_t>(count) > static_cast<std::size_t>(kMaxFrames)) {
    error = "too many frames (at most 100000000)";
    return false;
  }
  run += delta * static_cast<double>(count);
  if (!(run <= kMaxRun)) {
    error = "the frames add up to more than 1e12 ms (about 31 years), longer than the clock "
            "can count in steps of 0.001 ms";
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
  double run = 0;
  while (std::getline(items, item, ','))
    if (!ParseItem(item, deltas, run, error)) return false;
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
    if (name == "--help") {
      options.help = true;
      return options;
    }
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
