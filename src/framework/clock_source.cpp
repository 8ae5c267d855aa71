#include "framework/clock_source.hpp"

#include <chrono>

namespace {
// libstdc++ reads steady_clock from CLOCK_MONOTONIC: it never jumps with
// the wall clock.
std::int64_t MonotonicNanoseconds() {
  using std::chrono::nanoseconds;
  const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<nanoseconds>(sinceStart).count();
}

class MonotonicClock final : public ClockSource {
 public:
  bool QueryFrequency(std::int64_t& countsPerSecond) override {
    countsPerSecond = 1'000'000'000;
    return true;
  }
  bool QueryCounter(std::int64_t& count) override {
    count = MonotonicNanoseconds();
    return true;
  }
  std::uint32_t MilliCount() override {
    const auto ms = static_cast<std::uint64_t>(MonotonicNanoseconds()) / 1'000'000;
    return static_cast<std::uint32_t>(ms);
  }
};
}  // namespace

ClockSource& SystemClock() {
  static MonotonicClock clock;
  return clock;
}
