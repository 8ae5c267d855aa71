#include "platform/clock.hpp"

#include <ctime>

namespace platform {
namespace {
class MonotonicClock final : public ClockSource {
 public:
  bool QueryFrequency(std::int64_t& countsPerSecond) override {
    countsPerSecond = 1'000'000'000;
    return true;
  }
  bool QueryCounter(std::int64_t& count) override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    count = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    return true;
  }
  std::uint32_t MilliCount() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
    return static_cast<std::uint32_t>(ms);
  }
};
}  // namespace

ClockSource& SystemClock() {
  static MonotonicClock clock;
  return clock;
}

}  // namespace platform
