// A clock that moves only when told to, for rendering frames at chosen
// times. It offers a high-resolution counter at 2^32 counts a second, whose
// seconds-per-count is exact in single precision, so the frame timer's
// readings land within 1.2e-7 ms of the set time and frame deltas of 2 ms
// and more come out exactly as asked.
#pragma once

#include <cmath>
#include <cstdint>

#include "framework/clock_source.hpp"

class ManualClock final : public ClockSource {
 public:
  static constexpr std::int64_t kFrequency = std::int64_t{1} << 32;

  bool QueryFrequency(std::int64_t& countsPerSecond) override {
    countsPerSecond = kFrequency;
    return true;
  }
  bool QueryCounter(std::int64_t& count) override {
    count = std::llround(m_milliseconds * static_cast<double>(kFrequency) / 1000.0);
    return true;
  }
  std::uint32_t MilliCount() override { return static_cast<std::uint32_t>(m_milliseconds); }

  void Advance(double milliseconds) { m_milliseconds += milliseconds; }

 private:
  double m_milliseconds = 0.0;
};
