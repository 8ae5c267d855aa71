// The two clocks the frame timer can count with.
//
// Does:
//  - the monotonic clock, in nanoseconds and in wrapping milliseconds
// Does not:
//  - wall-clock time
//  - fail QueryFrequency: Linux always has the high-resolution counter
#pragma once

#include <cstdint>

namespace platform {

// A clock source as the frame timer sees it: a high-resolution counter with
// its frequency (which a machine may lack) and a 32-bit millisecond count.
class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // Counts per second; false when there is no high-resolution counter.
  virtual bool QueryFrequency(std::int64_t& countsPerSecond) = 0;
  virtual bool QueryCounter(std::int64_t& count) = 0;
  // Milliseconds since an arbitrary start, wrapping every 2^32 ms.
  virtual std::uint32_t MilliCount() = 0;
};

// The machine's monotonic clock: nanosecond counter, millisecond count.
ClockSource& SystemClock();

}  // namespace platform
