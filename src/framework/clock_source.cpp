#include "framework/clock_source.hpp"

#include "platform/platform.hpp"

namespace {
class MonotonicClock final : public ClockSource {
 public:
  bool QueryFrequency(std::int64_t& countsPerSecond) override {
    countsPerSecond = 1'000'000'000;
    return true;
  }
  bool QueryCounter(std::int64_t& count) override {
    count = platform::MonotonicNanoseconds();
    return true;
  }
  std::uint32_t MilliCount() override {
    const auto ms = static_cast<std::uint64_t>(platform::MonotonicNanoseconds()) / 1'000'000;
    return static_cast<std::uint32_t>(ms);
  }
};
}  // namespace

ClockSource& SystemClock() {
  static MonotonicClock clock;
  return clock;
}
